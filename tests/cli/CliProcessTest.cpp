// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli as its own process: exit statuses, messages, and the terminal
// behaviour that only a real process on a pseudo-terminal shows.
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace kelvane::testing_support;

struct Finished {
    int status = -1; // exit status, or -1 when ended by a signal
    int signal = 0;
    std::string out, err;
};

Finished Decode(int waitStatus) {
    Finished f;
    if (WIFEXITED(waitStatus))
        f.status = WEXITSTATUS(waitStatus);
    else if (WIFSIGNALED(waitStatus))
        f.signal = WTERMSIG(waitStatus);
    return f;
}

[[noreturn]] void ExecCli(const std::string& directory, const std::vector<std::string>& args) {
    if (::chdir(directory.c_str()) != 0)
        ::_exit(127);
    std::vector<char*> argv = {const_cast<char*>(KELVANE_CLI_PATH)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(KELVANE_CLI_PATH, argv.data());
    ::_exit(127);
}

void Redirect(const std::string& path, int target, int flags) {
    const int fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0 || ::dup2(fd, target) < 0)
        ::_exit(127);
    ::close(fd);
}

// Runs kelvane-cli in `dir` without a controlling terminal; `input` is its
// standard input; `openFiles`, when given, its limit of open files.
Finished RunCli(const TempDir& dir, const std::vector<std::string>& args,
                const std::string& input = {}, rlim_t openFiles = 0) {
    const std::string io =
        dir.Path() + "/../" + std::filesystem::path(dir.Path()).filename().string();
    WriteFile(io + ".in", input);
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        Redirect(io + ".in", STDIN_FILENO, O_RDONLY);
        Redirect(io + ".out", STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
        Redirect(io + ".err", STDERR_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
        const struct rlimit limit { openFiles, openFiles };
        if (openFiles > 0 && ::setrlimit(RLIMIT_NOFILE, &limit) != 0)
            ::_exit(127);
        ExecCli(dir.Path(), args);
    }
    int waitStatus = 0;
    ::waitpid(child, &waitStatus, 0);
    Finished f = Decode(waitStatus);
    f.out = ReadFile(io + ".out");
    f.err = ReadFile(io + ".err");
    for (const char* end : {".in", ".out", ".err"})
        std::filesystem::remove(io + end);
    return f;
}

constexpr char kPassword[] = "s3cret!";

TEST(CliProcess, RoundTripIsByteForByteWithRelativeNames) {
    TempDir dir;
    const std::string content = RandomBytes(100'003, 42);
    WriteFile(dir / "notes.txt", content);
    const Finished encrypted = RunCli(dir, {"encrypt", "-p", "-", "notes.txt"}, kPassword);
    ASSERT_EQ(encrypted.status, 0) << encrypted.err;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"notes.txt.cry"});
    const Finished decrypted = RunCli(dir, {"decrypt", "-p", "-", "notes.txt.cry"}, kPassword);
    ASSERT_EQ(decrypted.status, 0) << decrypted.err;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"notes.txt"});
    EXPECT_EQ(ReadFile(dir / "notes.txt"), content);
}

TEST(CliProcess, ExitStatusesSeparateDoneFailedAndUsage) {
    TempDir dir;
    WriteFile(dir / "a", "content");
    EXPECT_EQ(RunCli(dir, {"--help"}).status, 0);
    EXPECT_EQ(RunCli(dir, {}).status, 2);
    EXPECT_EQ(RunCli(dir, {"encrypt", "-p", "-", "a"}, "short").status, 2);
    EXPECT_EQ(RunCli(dir, {"encrypt", "-p", "-", "a"}, "ninechars").status, 2);
    // No -p and no terminal to ask on.
    EXPECT_EQ(RunCli(dir, {"encrypt", "a"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"encrypt", "-k", "-p", "-", "a"}, kPassword).status, 0);
    // Saved anew since, so a.cry no longer holds it.
    WriteFile(dir / "a", "content saved since");
    const Finished exists = RunCli(dir, {"encrypt", "-p", "-", "a"}, kPassword);
    EXPECT_EQ(exists.status, 1);
    EXPECT_EQ(exists.err, "kelvane-cli: \"a.cry\" already exists; -f replaces it\n");
    EXPECT_EQ(RunCli(dir, {"encrypt", "-f", "-p", "-", "a"}, kPassword).status, 0);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.cry"});
}

TEST(CliProcess, AWrongPasswordNamesTheFileAsGivenAndChangesNothing) {
    TempDir dir;
    WriteFile(dir / "notes.txt", "content");
    ASSERT_EQ(RunCli(dir, {"encrypt", "-p", "-", "notes.txt"}, kPassword).status, 0);
    const std::string crypted = ReadFile(dir / "notes.txt.cry");
    const Finished wrong = RunCli(dir, {"decrypt", "-p", "-", "./notes.txt.cry"}, "s3cret?");
    EXPECT_EQ(wrong.status, 3);
    EXPECT_EQ(wrong.err, "kelvane-cli: wrong password for \"./notes.txt.cry\"\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"notes.txt.cry"});
    EXPECT_EQ(ReadFile(dir / "notes.txt.cry"), crypted);
}

TEST(CliProcess, StandardInputAndOutputRoundTripByteForByteAndDeleteNothing) {
    TempDir dir;
    WriteFile(dir / "pw", std::string(kPassword) + "\n");
    const std::string content = RandomBytes(100'003, 43);
    const Finished encrypted = RunCli(dir, {"encrypt", "-p", "pw", "-"}, content);
    ASSERT_EQ(encrypted.status, 0) << encrypted.err;
    EXPECT_EQ(encrypted.err, "");
    WriteFile(dir / "x.cry", encrypted.out);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"decrypt", "-c", "-p", "pw", "x.cry"},
          std::vector<std::string>{"decrypt", "-p", "pw", "-o", "-", "x.cry"}}) {
        const Finished decrypted = RunCli(dir, args);
        ASSERT_EQ(decrypted.status, 0) << decrypted.err;
        EXPECT_EQ(decrypted.out, content);
    }
    const Finished fromInput = RunCli(dir, {"decrypt", "-p", "pw", "-"}, encrypted.out);
    ASSERT_EQ(fromInput.status, 0) << fromInput.err;
    EXPECT_EQ(fromInput.out, content);
    WriteFile(dir / "plain", content);
    const Finished toOutput = RunCli(dir, {"encrypt", "-c", "-p", "pw", "plain"});
    ASSERT_EQ(toOutput.status, 0) << toOutput.err;
    WriteFile(dir / "y.cry", toOutput.out);
    EXPECT_EQ(RunCli(dir, {"verify", "-q", "-p", "pw", "y.cry"}).status, 0);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"plain", "pw", "x.cry", "y.cry"}));
    EXPECT_EQ(RunCli(dir, {"encrypt", "-p", "-", "-"}, content).status, 2);
}

TEST(CliProcess, AStreamedDecryptionThatFailsItsDataCheckSaysSoAndFails) {
    TempDir dir;
    WriteFile(dir / "pw", std::string(kPassword) + "\n");
    const std::string content = RandomBytes(300'000, 44);
    std::string crypted = RunCli(dir, {"encrypt", "-p", "pw", "-"}, content).out;
    crypted[crypted.size() - 100] ^= 1; // found only at the end
    const Finished damaged = RunCli(dir, {"decrypt", "-p", "pw", "-"}, crypted);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_GT(damaged.out.size(), content.size() / 2) << "the bytes were streamed";
    EXPECT_NE(damaged.err.find("failed its data check"), std::string::npos) << damaged.err;
    EXPECT_NE(damaged.err.find("not to be trusted"), std::string::npos) << damaged.err;
    const Finished shortFile = RunCli(dir, {"decrypt", "-p", "pw", "-"}, "KZ31");
    EXPECT_EQ(shortFile.status, 1);
    EXPECT_EQ(shortFile.err, "kelvane-cli: standard input is not a crypted file: it is shorter "
                             "than the 14-byte header\n");
}

TEST(CliProcess, NonAsciiPasswordRoundTripsAndMustBeUtf8) {
    TempDir dir;
    WriteFile(dir / "a", "content");
    const std::string euro = "\xE2\x82\xAC"
                             "uro\xC3\xA9!"; // €uroé! : 6 characters
    ASSERT_EQ(RunCli(dir, {"encrypt", "-p", "-", "a"}, euro).status, 0);
    // The same characters in Latin-1 bytes are not UTF-8 text.
    EXPECT_EQ(RunCli(dir, {"decrypt", "-p", "-", "a.cry"}, "\x80uro\xE9!").status, 2);
    ASSERT_EQ(RunCli(dir, {"decrypt", "-p", "-", "a.cry"}, euro).status, 0);
    EXPECT_EQ(ReadFile(dir / "a"), "content");
}

// ---- On a pseudo-terminal ----

class Terminal {
public:
    Terminal(const TempDir& dir, const std::vector<std::string>& args,
             unsigned short columns = 80) {
        struct winsize size {};
        size.ws_row = 24;
        size.ws_col = columns;
        child_ = ::forkpty(&master_, nullptr, nullptr, &size);
        if (child_ == 0)
            ExecCli(dir.Path(), args);
    }
    ~Terminal() {
        if (child_ > 0 && !reaped_) {
            ::kill(child_, SIGKILL);
            Wait();
        }
        ::close(master_);
    }

    // Reads what the program shows until `text` has appeared; false when the
    // program ends or stays silent for ten seconds first.
    bool WaitFor(const std::string& text) {
        while (shown_.find(text, from_) == std::string::npos) {
            if (!ReadSome())
                return false;
        }
        from_ = shown_.find(text, from_) + text.size();
        return true;
    }

    void Signal(int signal) { ::kill(child_, signal); }

    void Type(const std::string& keys) {
        ASSERT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    bool Echoing() const {
        struct termios modes {};
        ::tcgetattr(master_, &modes); // a master reports its terminal's modes
        return (modes.c_lflag & ECHO) != 0;
    }

    Finished Wait() {
        while (ReadSome()) {
        }
        int waitStatus = 0;
        ::waitpid(child_, &waitStatus, 0);
        reaped_ = true;
        Finished f = Decode(waitStatus);
        f.err = shown_;
        return f;
    }

private:
    bool ReadSome() {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 10'000) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        shown_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    int master_ = -1;
    pid_t child_ = -1;
    bool reaped_ = false;
    std::string shown_;
    std::size_t from_ = 0;
};

TEST(CliTerminal, PasswordIsAskedTwiceWithoutEchoAndNeverShown) {
    TempDir dir;
    WriteFile(dir / "a", "content");
    Terminal terminal(dir, {"encrypt", "a"});
    ASSERT_TRUE(terminal.WaitFor("Password: "));
    EXPECT_FALSE(terminal.Echoing());
    terminal.Type(std::string(kPassword) + "\n");
    ASSERT_TRUE(terminal.WaitFor("Repeat password: "));
    terminal.Type(std::string(kPassword) + "\n");
    const Finished f = terminal.Wait();
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(f.err.find(kPassword), std::string::npos) << "the password was echoed";
    EXPECT_TRUE(terminal.Echoing());
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.cry"});
}

TEST(CliTerminal, CtrlCAtThePromptTurnsTheEchoBackOnAndWritesNothing) {
    TempDir dir;
    WriteFile(dir / "a", "content");
    Terminal terminal(dir, {"encrypt", "a"});
    ASSERT_TRUE(terminal.WaitFor("Password: "));
    ASSERT_FALSE(terminal.Echoing());
    terminal.Type("\x03");
    const Finished f = terminal.Wait();
    EXPECT_EQ(f.signal, SIGINT);
    EXPECT_TRUE(terminal.Echoing());
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a"});
}

TEST(CliTerminal, CtrlCDuringEncryptionLeavesNoDestinationAndTheSourceIntact) {
    TempDir dir;
    std::string big(24 << 20, '\0'); // long enough to be cancelled well before its end
    for (std::size_t i = 0; i < big.size(); i += 4096)
        big[i] = static_cast<char>(i >> 12);
    WriteFile(dir / "big", big);
    WriteFile(dir / "pw", std::string(kPassword) + "\n");
    Terminal terminal(dir, {"encrypt", "-p", "pw", "big"});
    ASSERT_TRUE(terminal.WaitFor("%"));
    terminal.Type("\x03");
    const Finished f = terminal.Wait();
    if (f.status == 0)
        GTEST_SKIP() << "the encryption ended before Ctrl-C reached it";
    EXPECT_EQ(f.status, 128 + SIGINT);
    EXPECT_NE(f.err.find("kelvane-cli: \"big\": cancelled; nothing was written"), std::string::npos)
        << f.err;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"big", "pw"}));
    EXPECT_EQ(ReadFile(dir / "big"), big);
}

TEST(CliTerminal, TheProgressLineFitsANarrowTerminal) {
    TempDir dir;
    WriteFile(dir / "big", std::string(24 << 20, 'x'));
    WriteFile(dir / "pw", std::string(kPassword) + "\n");
    Terminal terminal(dir, {"encrypt", "-p", "pw", "big"}, 40);
    const Finished f = terminal.Wait();
    ASSERT_EQ(f.status, 0) << f.err;
    std::size_t drawn = 0;
    for (std::size_t start = 0, end; start < f.err.size(); start = end + 1) {
        end = std::min(f.err.find_first_of("\r\n", start), f.err.size());
        std::string shown = f.err.substr(start, end - start);
        if (const auto erase = shown.find("\033[K"); erase != std::string::npos)
            shown.erase(erase);
        EXPECT_LT(shown.size(), 40u) << shown;
        if (shown.find('%') != std::string::npos)
            ++drawn;
    }
    EXPECT_GT(drawn, 0u) << "no progress line was drawn";
}

TEST(CliTerminal, CryptedOrDecryptedBytesAreNeverWrittenToATerminal) {
    TempDir dir;
    WriteFile(dir / "a", "content");
    WriteFile(dir / "pw", std::string(kPassword) + "\n");
    // Standard output, and the terminal named as the destination.
    for (const char* output : {"-", "/dev/tty"}) {
        Terminal encrypting(dir, {"encrypt", "-k", "-o", output, "-p", "pw", "a"});
        const Finished refused = encrypting.Wait();
        EXPECT_EQ(refused.status, 2) << output;
        EXPECT_NE(refused.err.find("not written to a terminal"), std::string::npos) << refused.err;
        EXPECT_EQ(refused.err.find("KZ31"), std::string::npos);
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "pw"}));
    }
}

// ---- Signals and special files ----

// Waits up to ten seconds for `child` to end; kills it and returns nothing
// when it does not.
std::optional<Finished> EndedWithin10s(pid_t child) {
    const int handle = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    pollfd p{handle, POLLIN, 0};
    // Without process handles (older kernels) the wait has no bound: a hang
    // then shows as the test's own timeout.
    const bool ended = handle < 0 || ::poll(&p, 1, 10'000) == 1;
    if (handle >= 0)
        ::close(handle);
    if (!ended)
        ::kill(child, SIGKILL);
    int waitStatus = 0;
    ::waitpid(child, &waitStatus, 0);
    if (!ended)
        return std::nullopt;
    return Decode(waitStatus);
}

// True once `child` waits in the kernel for the other end of a FIFO.
bool WaitsForAFifoPartner(pid_t child) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < giveUp) {
        if (ReadFile("/proc/" + std::to_string(child) + "/wchan") == "wait_for_partner")
            return true;
        std::this_thread::yield();
    }
    return false;
}

pid_t StartCli(const TempDir& dir, const std::vector<std::string>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        Redirect("/dev/null", STDIN_FILENO, O_RDONLY);
        Redirect("/dev/null", STDOUT_FILENO, O_WRONLY);
        Redirect("/dev/null", STDERR_FILENO, O_WRONLY);
        ExecCli(dir.Path(), args);
    }
    return child;
}

// More folders than the process may open, and more jobs than a few dozen
// descriptors serve at once: every file is done all the same.
TEST(CliProcess, ATreeOfManyFoldersIsDoneWithinALowLimitOfOpenFiles) {
    TempDir dir;
    WriteFile(dir.Path() + "/pw", "s3cret!\n");
    std::filesystem::create_directory(dir.Path() + "/tree");
    for (int i = 0; i < 100; ++i) {
        const std::string folder = dir.Path() + "/tree/" + std::to_string(i);
        std::filesystem::create_directory(folder);
        WriteFile(folder + "/a", "a" + std::to_string(i));
        WriteFile(folder + "/b", "b" + std::to_string(i));
    }
    const auto countFiles = [&](bool crypted) {
        std::size_t count = 0;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(dir.Path() + "/tree"))
            count += entry.is_regular_file() && (entry.path().extension() == ".cry") == crypted;
        return count;
    };
    for (const char* command : {"encrypt", "decrypt"}) {
        SCOPED_TRACE(command);
        const Finished run =
            RunCli(dir, {command, "-q", "-r", "-j", "8", "-p", "pw", "tree"}, {}, 64);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(countFiles(std::string(command) == "encrypt"), 200u);
    }
    EXPECT_EQ(ReadFile(dir.Path() + "/tree/42/b"), "b42");
}

// Neither a core file nor another process of the user may read the password
// out of the program: the limit is off before the password is first read.
TEST(CliProcess, NoCoreFileWhileThePasswordIsAwaited) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pw").c_str(), 0600), 0);
    WriteFile(dir / "a", "content");
    const pid_t child = StartCli(dir, {"encrypt", "-p", "pw", "a"});
    // The pipe's writing end opens once the program opens it to read.
    int pipe = -1;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pipe < 0 && std::chrono::steady_clock::now() < giveUp) {
        pipe = ::open((dir / "pw").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        std::this_thread::yield();
    }
    const std::string limits = ReadFile("/proc/" + std::to_string(child) + "/limits");
    if (pipe >= 0)
        ::close(pipe); // no password: the program ends
    ASSERT_TRUE(EndedWithin10s(child).has_value());
    ASSERT_GE(pipe, 0) << "the program never asked for its password";
    const std::size_t line = limits.find("Max core file size");
    ASSERT_NE(line, std::string::npos) << limits;
    std::istringstream fields(limits.substr(line + std::strlen("Max core file size")));
    std::string soft, hard;
    fields >> soft >> hard;
    EXPECT_EQ(soft, "0");
    EXPECT_EQ(hard, "0");
}

TEST(CliProcess, InfoAndVerifyOnAFifoReturnAtOnce) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    WriteFile(dir / "pw", std::string(kPassword) + "\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", "fifo"},
          std::vector<std::string>{"verify", "-p", "pw", "fifo"}}) {
        const auto f = EndedWithin10s(StartCli(dir, args));
        ASSERT_TRUE(f.has_value()) << args[0] << " hung on a FIFO";
        EXPECT_EQ(f->status, 1) << args[0];
    }
}

TEST(CliProcess, ASignalWhileBlockedOutsideTheEngineEndsTheProgram) {
    // A password FIFO nobody writes to: kelvane-cli waits in open(), where
    // nothing would ever look at a cancel flag. The test waits until it is
    // there, since that is the case to try: a thread stuck in the kernel,
    // which under ThreadSanitizer runs no handler until the call returns,
    // so only the thread that takes the signals can answer.
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pw").c_str(), 0600), 0);
    WriteFile(dir / "a", "content");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t child = StartCli(dir, {"encrypt", "-p", "pw", "a"});
        if (!WaitsForAFifoPartner(child)) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            GTEST_SKIP() << "can't see where the program waits";
        }
        ::kill(child, signal);
        const auto f = EndedWithin10s(child);
        ASSERT_TRUE(f.has_value()) << "signal " << signal << " only set the cancel flag";
        EXPECT_EQ(f->signal, signal);
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "pw"}));
    }
}

class CliCancelSignal : public testing::TestWithParam<int> {};

TEST_P(CliCancelSignal, CancelsARunningEncryptionWithNothingLost) {
    TempDir dir;
    std::string big(64 << 20, '\0'); // long enough to be signalled well before its end
    for (std::size_t i = 0; i < big.size(); i += 4096)
        big[i] = static_cast<char>(i >> 12);
    WriteFile(dir / "big", big);
    WriteFile(dir / "pw", std::string(kPassword) + "\n");
    Terminal terminal(dir, {"encrypt", "-p", "pw", "big"});
    ASSERT_TRUE(terminal.WaitFor("%"));
    terminal.Signal(GetParam());
    const Finished f = terminal.Wait();
    if (f.status == 0)
        GTEST_SKIP() << "the encryption ended before the signal reached it";
    EXPECT_EQ(f.status, 128 + GetParam()) << "signal " << f.signal;
    EXPECT_NE(f.err.find("kelvane-cli: \"big\": cancelled; nothing was written"), std::string::npos)
        << f.err;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"big", "pw"}));
    EXPECT_EQ(ReadFile(dir / "big"), big);
}

INSTANTIATE_TEST_SUITE_P(TermAndHangUp, CliCancelSignal, testing::Values(SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& tested) {
                             return std::string(tested.param == SIGTERM ? "SIGTERM" : "SIGHUP");
                         });

} // namespace
