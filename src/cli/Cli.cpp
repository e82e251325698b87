// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include "cli/Actions.h"
#include "cli/Arguments.h"
#include "cli/Runner.h"
#include "cli/Signals.h"
#include "cli/StreamFiles.h"
#include "crypto/CryptNames.h"
#include "crypto/SecureWipe.h"
#include "crypto/Translate.h"
#include "engine/CryptFile.h"
#include "platform/ErrorText.h"
#include "platform/FileSafety.h"
#include "platform/TreeWalk.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::cli {
namespace {

constexpr char kProgram[] = "kelvane-cli: ";

int UsageError(const CliEnvironment& env, const std::string& message) {
    env.err << kProgram << message << '\n' << Tr("cli", "Try 'kelvane-cli --help'.") << '\n';
    return kExitUsage;
}

int PasswordError(const CliEnvironment& env, const std::string& message) {
    env.err << kProgram << message << '\n';
    return kExitUsage;
}

std::string DoesNotEndInCry(const std::string& file) {
    // TRANSLATORS: %1 is a file's name.
    return FormatText(Tr("cli", "\"%1\" does not end in .cry; name the output with -o"), {file});
}

bool ReadPasswordFile(const CliEnvironment& env, const std::string& path, SecretString& entered,
                      std::string& problem) {
    const bool standardInput = path == "-";
    const int fd = standardInput ? env.in : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const std::string source = standardInput ? Tr("cli", "standard input") : "\"" + path + "\"";
    const LineRead read = fd < 0 ? LineRead::Failed : ReadFirstLine(fd, entered);
    if (fd >= 0 && !standardInput)
        ::close(fd);
    const int error = fd < 0 ? errno : 0;
    if (read == LineRead::TooLong)
        problem = FormatText(
            // TRANSLATORS: %1 is "standard input" or a file's name in quotes, %2 a number.
            Tr("cli", "the first line of %1 is longer than %2 bytes; it can't be a password"),
            {source, std::to_string(kLongestPasswordLine)});
    else if (read == LineRead::Nothing && standardInput)
        problem = Tr("cli", "no password on standard input");
    else if (read != LineRead::Ok)
        // TRANSLATORS: %1 is "standard input" or a file's name in quotes, %2 the system's reason.
        problem = FormatText(Tr("cli", "can't read the password file %1: %2"),
                             {source, error != 0 ? ErrorText(error) : Tr("cli", "read error")});
    return problem.empty();
}

// The variable is wiped where the environment holds it, so neither a child
// nor /proc/PID/environ shows it afterwards.
bool ReadPasswordEnv(const std::string& name, SecretString& entered, std::string& problem) {
    char* value = std::getenv(name.c_str());
    if (value == nullptr) {
        // TRANSLATORS: %1 is the variable's name.
        problem = FormatText(Tr("cli", "the environment variable %1 is not set"), {name});
        return false;
    }
    const std::size_t length = std::strlen(value);
    if (length <= kLongestPasswordLine)
        entered.Text().assign(value, length);
    else
        // TRANSLATORS: %1 is the variable's name, %2 a number.
        problem = FormatText(Tr("cli", "the environment variable %1 is longer than %2 bytes; it "
                                       "can't be a password"),
                             {name, std::to_string(kLongestPasswordLine)});
    SecureWipe(value, length);
    // Read at start, before any thread exists.
    ::unsetenv(name.c_str()); // NOLINT(concurrency-mt-unsafe)
    return problem.empty();
}

bool AskPassword(const CliEnvironment& env, bool twice, SecretString& entered,
                 std::string& problem) {
    // TRANSLATORS: a prompt; the answer is typed after it on the same line.
    if (!env.prompter.Ask(Tr("cli", "Password: "), entered, problem))
        return false;
    if (!twice)
        return true;
    SecretString again;
    if (!env.prompter.Ask(Tr("cli", "Repeat password: "), again, problem))
        return false;
    if (again.Text() != entered.Text())
        problem = Tr("cli", "the two passwords differ");
    return problem.empty();
}

bool ObtainPassword(const CliEnvironment& env, const CliOptions& options, SecretString& password,
                    std::string& problem) {
    SecretString entered;
    const bool twice = options.command == Command::Encrypt;
    const bool got = options.passwordFile
                         ? ReadPasswordFile(env, *options.passwordFile, entered, problem)
                     : options.passwordEnv ? ReadPasswordEnv(*options.passwordEnv, entered, problem)
                                           : AskPassword(env, twice, entered, problem);
    if (got)
        ToKeyPassword(entered, password, problem);
    return problem.empty();
}

// The most standard input may bring: a plain file of the format's largest
// length, or the crypted file made of it.
int64_t StandardInputLimit(Command command) {
    const int64_t largestPlain = std::numeric_limits<int32_t>::max();
    return command == Command::Encrypt ? largestPlain : largestPlain + 8 + kCryptHeaderSize;
}

// Takes standard input whole when FILE is "-"; a message and false when it
// can't.
bool SpoolStandardInput(const CliEnvironment& env, const CliOptions& options, SpooledInput& spool,
                        StandardStreams& streams) {
    streams.output = env.outFd;
    if (!options.ReadsStandardInput())
        return true;
    switch (spool.Take(env.in, StandardInputLimit(options.command))) {
    case SpooledInput::Result::Ok:
        streams.input = spool.Fd();
        return true;
    case SpooledInput::Result::TooBig:
        env.err << kProgram
                << Tr("cli", "standard input is too big for the .cry format (at most 2 GiB)")
                << '\n';
        return false;
    case SpooledInput::Result::Failed:
        break;
    }
    env.err << kProgram
            // TRANSLATORS: %1 is the system's reason.
            << FormatText(Tr("cli", "can't read standard input: %1"), {ErrorText(spool.Error())})
            << '\n';
    return false;
}

int RunInfo(const CliEnvironment& env, const CliOptions& options) {
    SpooledInput spool;
    StandardStreams streams;
    if (!SpoolStandardInput(env, options, spool, streams))
        return kExitFailed;
    bool failed = false;
    bool warned = false;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        if (i > 0)
            env.out << '\n';
        const Outcome outcome = InfoOne(env.out, env.err, options.files[i], streams);
        failed = failed || outcome == Outcome::Failed;
        warned = warned || outcome == Outcome::LengthWarned;
    }
    return failed ? kExitFailed : warned ? kExitLengthWarning : kExitDone;
}

// The refusal to show a run's data on a terminal, naming what it writes;
// %1 stays for the name of the terminal where there is one.
const char* TerminalRefusal(const CliOptions& options, bool named) {
    if (options.command == Command::Encrypt && named)
        // TRANSLATORS: %1 is the terminal's name, as given to -o.
        return KELVANE_TR_NOOP("cli", "crypted data is not written to a terminal (\"%1\"); name "
                                      "a file with -o");
    if (options.command == Command::Encrypt)
        return KELVANE_TR_NOOP("cli", "crypted data is not written to a terminal; redirect "
                                      "standard output or use -o");
    if (options.command == Command::Convert && named)
        // TRANSLATORS: %1 is the terminal's name, as given to -o.
        return KELVANE_TR_NOOP("cli", "binary age data is not written to a terminal (\"%1\"); "
                                      "name a file with -o");
    if (options.command == Command::Convert)
        return KELVANE_TR_NOOP("cli", "binary age data is not written to a terminal; redirect "
                                      "standard output or use -o");
    if (named)
        // TRANSLATORS: %1 is the terminal's name, as given to -o.
        return KELVANE_TR_NOOP("cli", "decrypted data is not written to a terminal (\"%1\"); "
                                      "name a file with -o");
    return KELVANE_TR_NOOP("cli", "decrypted data is not written to a terminal; redirect "
                                  "standard output or use -o");
}

// Crypted or decrypted bytes on a terminal would be garbage at best and the
// secret itself at worst; crypted bytes typed on a terminal can't be right.
bool RefuseTerminal(const CliEnvironment& env, const CliOptions& options) {
    // Armored age is text, made to be shown.
    if (options.WritesStandardOutput() && !options.armor && ::isatty(env.outFd) == 1) {
        env.err << kProgram << Tr("cli", TerminalRefusal(options, false)) << '\n';
        return true;
    }
    if (options.ReadsStandardInput() && options.command != Command::Encrypt &&
        ::isatty(env.in) == 1) {
        env.err << kProgram << Tr("cli", "crypted data is not read from a terminal") << '\n';
        return true;
    }
    if (options.WritesStandardOutput() && env.outFd < 0) {
        env.err << kProgram << Tr("cli", "no standard output to write to") << '\n';
        return true;
    }
    return false;
}

// The stream -o names instead of a file: a FIFO, a device or a terminal,
// directly or through links, as /dev/stdout is. It is written as standard
// output is, so the link stays a link and no file takes the device's place.
class NamedStream {
public:
    NamedStream() = default;
    ~NamedStream() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    NamedStream(const NamedStream&) = delete;
    NamedStream& operator=(const NamedStream&) = delete;

    // Opens what -o names when it is a stream; kExitDone, or the exit status
    // after a message. A device opens at once, so a terminal is refused
    // before any password is asked; a FIFO without a reader waits for one
    // in WaitForReader.
    int Open(const CliEnvironment& env, const CliOptions& options) {
        struct stat st {};
        if (!options.output || IsStandardStream(*options.output) ||
            ::stat(options.output->c_str(), &st) != 0 ||
            !(S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)))
            return kExitDone; // a file, put in place as any other
        path_ = *options.output;
        fd_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0 && errno == ENXIO && S_ISFIFO(st.st_mode)) {
            waits_ = true;
            return kExitDone;
        }
        return Opened(env, options);
    }

    // Called once the password is in, outside any run, where a signal still
    // ends the program: opening a FIFO for writing waits for its reader.
    int WaitForReader(const CliEnvironment& env, const CliOptions& options) {
        if (!waits_)
            return kExitDone;
        do
            fd_ = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        while (fd_ < 0 && errno == EINTR);
        return Opened(env, options);
    }

    void Into(StandardStreams& streams) const {
        if (fd_ < 0)
            return;
        streams.output = fd_;
        streams.outputName = path_;
    }

private:
    int Opened(const CliEnvironment& env, const CliOptions& options) {
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
            env.err << kProgram
                    // TRANSLATORS: %1 is a file's name, %2 the system's reason.
                    << FormatText(Tr("cli", "can't write \"%1\": %2"), {path_, ErrorText(errno)})
                    << '\n';
            return kExitFailed;
        }
        if (!S_ISFIFO(st.st_mode) && !S_ISCHR(st.st_mode)) {
            env.err << kProgram
                    // TRANSLATORS: %1 is a file's name.
                    << FormatText(Tr("cli", "\"%1\" changed while it was opened and is no stream "
                                            "any more; nothing was written"),
                                  {path_})
                    << '\n';
            return kExitFailed;
        }
        if (!options.armor && ::isatty(fd_) == 1) {
            env.err << kProgram << FormatText(Tr("cli", TerminalRefusal(options, true)), {path_})
                    << '\n';
            return kExitUsage;
        }
        // Written like standard output, which waits when the reader is slow.
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
        return kExitDone;
    }

    std::string path_;
    int fd_ = -1;
    bool waits_ = false;
};

int ExitCodeOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Done:
    case Outcome::Finished:
        return kExitDone;
    case Outcome::LengthWarned:
        return kExitLengthWarning;
    case Outcome::WrongPassword:
        return kExitWrongPassword;
    case Outcome::Cancelled:
        return kExitSignalBase + CancelSignal();
    case Outcome::Failed:
        break;
    }
    return kExitFailed;
}

FileAction ActionOf(Command command) {
    switch (command) {
    case Command::Encrypt:
        return EncryptOne;
    case Command::Decrypt:
        return DecryptOne;
    case Command::Convert:
        return ConvertOne;
    default:
        return VerifyOne;
    }
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The files of the run: those named, and with -r those found in the named
// folders. A file reached twice is taken once.
class FileList : public FileFeed {
public:
    FileList(const CliEnvironment& env, const CliOptions& options) : env_(env), options_(options) {}

    // Whether the run can start on the first files while the walk lists
    // the rest: only for one folder, so no later walk or named file is
    // looked at after the run has begun to create files.
    // A drawn progress line needs the whole run's size from the start.
    bool Feeds(bool drawProgress) const {
        return options_.recurse && options_.files.size() == 1 && !drawProgress &&
               ParallelFiles(options_.jobs, std::numeric_limits<std::size_t>::max()) > 1 &&
               IsFolder(options_.files.front());
    }

    // The walk of that one folder, its files handed on as they are found.
    void Feed(const std::function<bool(FileJob&&)>& take,
              const std::function<void(const std::string&)>& say) override {
        const std::string& root = options_.files.front();
        const auto note = [this, &say](const WalkNote& skipped) {
            say(SkippedLine(skipped));
            complete_ = complete_ && skipped.reason != WalkSkip::Unreadable;
        };
        if (!WalkTree(
                root, Pick(),
                [this, &take](WalkedFile&& file) {
                    return !seen_.insert(file.node).second ||
                           take({std::move(file.path), file.size, std::move(file.folder)});
                },
                note))
            note({root, WalkSkip::Unreadable, errno});
    }

    // False when a folder could not be read, once the files are all listed.
    bool Complete() const { return complete_; }

    // False when a folder could not be read; the rest is listed anyway.
    bool Collect() {
        bool complete = true;
        for (const std::string& file : options_.files) {
            if (options_.recurse && IsFolder(file))
                complete = Walk(file) && complete;
            else
                Named(file);
        }
        return complete;
    }

    std::vector<FileJob> jobs;

private:
    WalkPick Pick() const {
        return options_.command == Command::Encrypt ? WalkPick::PlainFiles : WalkPick::CryptedFiles;
    }

    static std::string SkippedLine(const WalkNote& note) {
        // TRANSLATORS: %1 is a file's name, %2 why it was skipped ("not a regular file").
        return kProgram +
               FormatText(Tr("cli", "skipped \"%1\": %2"), {note.path, WalkSkipText(note)});
    }

    bool Walk(const std::string& folder) {
        const WalkResult walked = WalkTree(folder, Pick());
        bool complete = true;
        for (const WalkNote& note : walked.skipped) {
            env_.err << SkippedLine(note) << '\n';
            complete = complete && note.reason != WalkSkip::Unreadable;
        }
        for (const WalkedFile& file : walked.files) {
            if (seen_.insert(file.node).second)
                jobs.push_back({file.path, file.size, file.folder});
        }
        return complete;
    }

    void Named(const std::string& file) {
        struct stat st {};
        const bool found = ::lstat(file.c_str(), &st) == 0;
        if (found && S_ISREG(st.st_mode) && !seen_.insert(NodeOf(st)).second)
            return;
        jobs.push_back(
            {file, found && S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0, nullptr});
    }

    const CliEnvironment& env_;
    const CliOptions& options_;
    std::set<FileNode> seen_;
    bool complete_ = true;
};

// The age passphrase is kept as typed (UTF-8), as the `age` command takes
// it; unlike the .cry password it has no length limit but must not be empty.
bool ObtainPassphrase(const CliEnvironment& env, const CliOptions& options,
                      SecretString& passphrase, std::string& problem) {
    if (options.passphraseFile) {
        if (!ReadPasswordFile(env, *options.passphraseFile, passphrase, problem))
            return false;
    } else {
        if (!env.prompter.Ask(Tr("cli", "Age passphrase: "), passphrase, problem))
            return false;
        SecretString again;
        if (!env.prompter.Ask(Tr("cli", "Repeat the age passphrase: "), again, problem))
            return false;
        if (again.Text() != passphrase.Text())
            problem = Tr("cli", "the two passphrases differ");
    }
    if (problem.empty() && passphrase.Text().empty())
        problem = Tr("cli", "the age passphrase is empty");
    return problem.empty();
}

bool CollectRecipients(const CliOptions& options, AgeTarget& target, std::string& problem) {
    for (const std::string& text : options.recipients) {
        age::Key32 key{};
        if (!age::ParseRecipient(text, key)) {
            problem =
                // TRANSLATORS: %1 is the recipient as typed.
                FormatText(Tr("cli", "\"%1\" is not an X25519 age recipient (age1...)"), {text});
            return false;
        }
        if (age::LowOrderKey(key)) {
            // TRANSLATORS: %1 is the recipient as typed.
            problem = FormatText(Tr("cli", "the recipient \"%1\" is not a valid key (of low order: "
                                           "the secret shared with it would be all zeros)"),
                                 {text});
            return false;
        }
        target.recipients.push_back(key);
    }
    for (const std::string& path : options.recipientsFiles) {
        if (!age::ReadRecipientsFile(path, target.recipients, problem))
            return false;
    }
    return true;
}

int RunWithPassword(const CliEnvironment& env, const CliOptions& options) {
    AgeTarget target;
    if (options.command == Command::Convert) {
        std::string problem;
        if (!CollectRecipients(options, target, problem))
            return UsageError(env, problem);
        if (!age::CryptoReady())
            return PasswordError(env, Tr("cli", "the cryptography library could not start"));
        target.armor = options.armor;
    }
    if ((options.command == Command::Decrypt || options.command == Command::Convert) &&
        !options.output) {
        for (const std::string& file : options.files) {
            if (!DecryptedNameOf(file) && !IsStandardStream(file) &&
                !(options.recurse && IsFolder(file)))
                return UsageError(env, DoesNotEndInCry(file));
        }
    }
    if (options.command != Command::Verify && RefuseTerminal(env, options))
        return kExitUsage;
    NamedStream namedOutput;
    if (const int refused = namedOutput.Open(env, options); refused != kExitDone)
        return refused;
    FileList list(env, options);
    const bool drawProgress = env.errIsTerminal && !options.quiet;
    const bool feeds = list.Feeds(drawProgress);
    const bool collected = feeds || list.Collect();
    SecretString password;
    std::string problem;
    if (!ObtainPassword(env, options, password, problem))
        return PasswordError(env, problem);
    // The passphrase comes after the .cry password, as the window asks.
    SecretString passphrase;
    if (options.command == Command::Convert && target.recipients.empty()) {
        if (!ObtainPassphrase(env, options, passphrase, problem))
            return PasswordError(env, problem);
        target.passphrase = &passphrase.Text();
        target.workFactor = options.workFactor != 0 ? options.workFactor : age::kDefaultWorkFactor;
    }
    SpooledInput spool;
    StandardStreams streams;
    if (!SpoolStandardInput(env, options, spool, streams))
        return kExitFailed;
    if (const int refused = namedOutput.WaitForReader(env, options); refused != kExitDone)
        return refused;
    namedOutput.Into(streams);
    if (options.ReadsStandardInput())
        list.jobs = {{std::string(kStandardStream), static_cast<uint64_t>(spool.Size()), nullptr}};
    const RunSettings settings{
        options,
        password.Text(),
        env.out,
        env.err,
        drawProgress,
        ParallelFiles(options.jobs,
                      feeds ? std::numeric_limits<std::size_t>::max() : list.jobs.size()),
        env.letEventsRun,
        streams,
        env.terminalColumns,
        options.command == Command::Convert ? &target : nullptr};
    const Outcome outcome =
        feeds ? RunFiles(settings, list, ActionOf(options.command))
              : RunFiles(settings, std::move(list.jobs), ActionOf(options.command));
    const bool complete = feeds ? list.Complete() : collected;
    if (!MakeRemovalsDurable()) {
        env.err << kProgram
                // TRANSLATORS: %1 is the system's reason.
                << FormatText(Tr("cli", "the disk did not confirm that the sources are gone (%1); "
                                        "after a power cut they may be back"),
                              {ErrorText(errno)})
                << '\n';
        return kExitFailed;
    }
    if (!complete && (outcome == Outcome::Done || outcome == Outcome::LengthWarned ||
                      outcome == Outcome::WrongPassword))
        return kExitFailed;
    return ExitCodeOf(outcome);
}

} // namespace

int RunCli(const std::vector<std::string>& args, const CliEnvironment& env) {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.Ok())
        return UsageError(env, parsed.error);
    const CliOptions& options = parsed.options;
    if (options.help) {
        env.out << UsageText(options.command);
        return kExitDone;
    }
    switch (options.command) {
    case Command::Help:
        env.out << UsageText();
        return kExitDone;
    case Command::Version:
        env.out << "kelvane-cli " KELVANE_VERSION "\n";
        return kExitDone;
    case Command::Info:
        return RunInfo(env, options);
    default:
        return RunWithPassword(env, options);
    }
}

} // namespace kelvane::cli
