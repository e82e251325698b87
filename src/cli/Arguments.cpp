// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"

#include "cli/ExitCodes.h"
#include "cli/MessageCatalogue.h"
#include "crypto/Translate.h"

#include <algorithm>

namespace kelvane::cli {
namespace {

struct CommandSpec {
    std::string_view name;
    Command command;
    char initial; // as the option table lists the command
    std::string_view what;
};

constexpr CommandSpec kCommands[] = {
    {"encrypt", Command::Encrypt, 'e',
     KELVANE_TR_NOOP("cli",
                     // TRANSLATORS: each command's description follows its name, as in
                     // "kelvane-cli encrypt writes ...". FILE, NAME, OUT, PATH and N stand for
                     // what the user types and stay as they are, as in the usage lines.
                     "writes FILE.cry for each FILE, then deletes FILE; FILE \"-\" reads standard "
                     "input and writes standard output")},
    {"decrypt", Command::Decrypt, 'd',
     KELVANE_TR_NOOP("cli",
                     "reads NAME.cry and writes NAME, then deletes NAME.cry; FILE \"-\" reads "
                     "standard input and writes standard output")},
    {"verify", Command::Verify, 'v',
     KELVANE_TR_NOOP("cli", "runs every check of a decryption (password, length, data check) "
                            "and writes nothing")},
    {"info", Command::Info, 'i',
     KELVANE_TR_NOOP("cli", "shows the header of a crypted file; needs no password")},
    {"convert", Command::Convert, 'c',
     KELVANE_TR_NOOP("cli", "reads NAME.cry and writes NAME.age, readable by age "
                            "(age-encryption.org): deciphered in memory straight into the age "
                            "file; NAME.cry is deleted once its data check passed and NAME.age "
                            "is on disk")},
};

constexpr OptionSpec kOptions[] = {
    // TRANSLATORS: the help of an option, after its spelling ("-k, --keep").
    // The option names and the words in capitals (FILE, N, OUT, PATH, NAME)
    // stay as they are.
    {OptionId::Keep, 'k', "keep", "", "edc", KELVANE_TR_NOOP("cli", "keep the source file")},
    {OptionId::Force, 'f', "force", "", "edc",
     KELVANE_TR_NOOP("cli", "replace an existing destination")},
    {OptionId::Quiet, 'q', "quiet", "", "edvc",
     KELVANE_TR_NOOP("cli", "no progress line on the terminal (verify: no \"OK\" lines either)")},
    {OptionId::Recursive, 'r', "recursive", "", "edvc",
     KELVANE_TR_NOOP(
         "cli",
         "walk FILEs that are folders: encrypt takes every file not ending in .cry, decrypt and "
         "verify the .cry files; symbolic links, special files and other file systems are "
         "passed over")},
    {OptionId::Jobs, 'j', "jobs", "N", "edvc",
     KELVANE_TR_NOOP("cli", "up to N files at once, 1 to 256 (default: one per processor)")},
    {OptionId::Output, 'o', "output", "OUT", "edc",
     KELVANE_TR_NOOP("cli", "the destination of a single FILE; \"-\" is standard output")},
    {OptionId::Stdout, 'c', "stdout", "", "ed",
     KELVANE_TR_NOOP("cli", "write the single FILE to standard output and keep it (as -o -)")},
    {OptionId::PasswordFile, 'p', "password-file", "PATH", "edvc",
     KELVANE_TR_NOOP(
         "cli",
         "read the password from the first line of PATH (\"-\": standard input); without -p or "
         "--password-env it is asked on the terminal")},
    {OptionId::PasswordEnv, '\0', "password-env", "NAME", "edvc",
     KELVANE_TR_NOOP("cli",
                     "take the password from the environment variable NAME, which is then wiped")},
    {OptionId::Armor, 'a', "armor", "", "c",
     KELVANE_TR_NOOP("cli", "convert: write the age file as text (PEM armor), as age -a does")},
    {OptionId::Recipient, '\0', "recipient", "age1...", "c",
     KELVANE_TR_NOOP(
         "cli",
         "convert: encrypt to this age public key instead of a passphrase; may be repeated")},
    {OptionId::RecipientsFile, 'R', "recipients-file", "FILE", "c",
     KELVANE_TR_NOOP(
         "cli",
         "convert: encrypt to the age public keys in FILE, one a line, # for comments; may be "
         "repeated")},
    {OptionId::PassphraseFile, '\0', "passphrase-file", "PATH", "c",
     KELVANE_TR_NOOP(
         "cli", "convert: the age passphrase from the first line of PATH (\"-\": standard input); "
                "without it or recipients it is asked twice on the terminal")},
    {OptionId::WorkFactor, '\0', "work-factor", "N", "c",
     KELVANE_TR_NOOP(
         "cli", "convert: the passphrase's scrypt cost 2^N, 1 to 22 (default 18; age opens no more "
                "than 22)")},
    {OptionId::Help, 'h', "help", "", "edvic", KELVANE_TR_NOOP("cli", "show this help and exit")},
};

// Each file running has its own engine threads and buffers: a bound keeps a
// typing mistake from starting thousands of them.
constexpr unsigned kMostJobs = 256;

bool Takes(const OptionSpec& option, const CommandSpec& command) {
    return option.commands.find(command.initial) != std::string_view::npos;
}

const OptionSpec* OptionNamed(std::string_view name) {
    for (const OptionSpec& option : kOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

const OptionSpec* OptionLettered(char letter) {
    for (const OptionSpec& option : kOptions) {
        if (option.letter == letter && letter != '\0')
            return &option;
    }
    return nullptr;
}

class Parser {
public:
    Parser(const CommandSpec& command, const std::vector<std::string>& args)
        : command_(command), args_(args) {
        result_.options.command = command.command;
    }

    ParsedArguments Run() {
        bool switchesEnded = false;
        for (next_ = 1; next_ < args_.size() && result_.Ok(); ++next_) {
            const std::string& arg = args_[next_];
            if (switchesEnded || arg == kStandardStream || arg.empty() || arg[0] != '-')
                result_.options.files.push_back(arg);
            else if (arg == "--")
                switchesEnded = true;
            else if (arg.starts_with("--"))
                LongForm(arg.substr(2));
            else
                ShortForms(arg.substr(1));
        }
        if (result_.Ok() && !result_.options.help)
            CheckCombination();
        return result_;
    }

private:
    void Fail(std::string message) {
        if (result_.Ok())
            result_.error = std::move(message);
    }

    static std::string GivenTwice(const std::string& shown) {
        // TRANSLATORS: %1 is an option as typed: "-j", "--jobs".
        return FormatText(Tr("cli", "%1 given twice"), {shown});
    }

    static std::string NeedsValue(const std::string& shown) {
        // TRANSLATORS: %1 is an option as typed: "-o", "--output".
        return FormatText(Tr("cli", "%1 needs a value"), {shown});
    }

    static std::string NeedsNumber(const std::string& shown, unsigned largest) {
        // TRANSLATORS: %1 is an option as typed ("-j"), %2 the largest number.
        return FormatText(Tr("cli", "%1 needs a number from 1 to %2"),
                          {shown, std::to_string(largest)});
    }

    void LongForm(const std::string& text) {
        const auto equals = text.find('=');
        const std::string name = text.substr(0, equals);
        const OptionSpec* option = OptionNamed(name);
        if (option == nullptr || !Takes(*option, command_))
            return Unknown("--" + name);
        if (equals != std::string::npos && option->value.empty())
            return Fail(FormatText(Tr("cli", "%1 takes no value"), {"--" + name}));
        if (equals != std::string::npos)
            return Apply(*option, text.substr(equals + 1), "--" + name);
        ApplyNextValue(*option, "--" + name);
    }

    // "-kfq", "-oOUT", "-o OUT".
    void ShortForms(const std::string& letters) {
        for (std::size_t i = 0; i < letters.size() && result_.Ok(); ++i) {
            const std::string shown = std::string("-") + letters[i];
            const OptionSpec* option = OptionLettered(letters[i]);
            if (option == nullptr || !Takes(*option, command_))
                return Unknown(shown);
            if (option->value.empty())
                Apply(*option, {}, shown);
            else if (i + 1 < letters.size())
                return Apply(*option, letters.substr(i + 1), shown);
            else
                return ApplyNextValue(*option, shown);
        }
    }

    void Unknown(const std::string& shown) {
        // TRANSLATORS: %1 is the option as typed, %2 the command ("encrypt").
        Fail(FormatText(Tr("cli", "unknown option %1 for %2"), {shown, command_.name}));
    }

    void ApplyNextValue(const OptionSpec& option, const std::string& shown) {
        if (option.value.empty())
            return Apply(option, {}, shown);
        if (next_ + 1 >= args_.size())
            return Fail(NeedsValue(shown));
        Apply(option, args_[++next_], shown);
    }

    void Apply(const OptionSpec& option, const std::string& value, const std::string& shown) {
        CliOptions& o = result_.options;
        switch (option.id) {
        case OptionId::Keep:
            o.keep = true;
            break;
        case OptionId::Force:
            o.force = true;
            break;
        case OptionId::Quiet:
            o.quiet = true;
            break;
        case OptionId::Recursive:
            o.recurse = true;
            break;
        case OptionId::Jobs:
            SetJobs(value, shown);
            break;
        case OptionId::Output:
            SetOutput(value, shown);
            break;
        case OptionId::Stdout:
            SetOutput(std::string(kStandardStream), shown);
            break;
        case OptionId::PasswordFile:
            SetOnce(o.passwordFile, value, shown);
            break;
        case OptionId::PasswordEnv:
            SetOnce(o.passwordEnv, value, shown);
            break;
        case OptionId::Armor:
            o.armor = true;
            break;
        case OptionId::Recipient:
            AddValue(o.recipients, value, shown);
            break;
        case OptionId::RecipientsFile:
            AddValue(o.recipientsFiles, value, shown);
            break;
        case OptionId::PassphraseFile:
            SetOnce(o.passphraseFile, value, shown);
            break;
        case OptionId::WorkFactor:
            SetWorkFactor(value, shown);
            break;
        case OptionId::Help:
            o.help = true;
            break;
        }
    }

    void SetOutput(const std::string& value, const std::string& shown) {
        if (result_.options.output)
            return Fail(outputShown_ == shown
                            ? GivenTwice(shown)
                            // TRANSLATORS: %1 and %2 are two options as typed: "-o" and "-c".
                            : FormatText(Tr("cli", "%1 and %2 both name the destination"),
                                         {outputShown_, shown}));
        outputShown_ = shown;
        SetOnce(result_.options.output, value, shown);
    }

    void SetOnce(std::optional<std::string>& slot, const std::string& value,
                 const std::string& shown) {
        if (slot)
            return Fail(GivenTwice(shown));
        if (value.empty())
            return Fail(NeedsValue(shown));
        slot = value;
    }

    void AddValue(std::vector<std::string>& list, const std::string& value,
                  const std::string& shown) {
        if (value.empty())
            return Fail(NeedsValue(shown));
        list.push_back(value);
    }

    // The `age` command opens nothing above 2^22; a larger factor would lock
    // the owner out of their own file.
    void SetWorkFactor(const std::string& value, const std::string& shown) {
        constexpr int kLargest = 22;
        if (result_.options.workFactor != 0)
            return Fail(GivenTwice(shown));
        int factor = 0;
        for (const char c : value) {
            if (c < '0' || c > '9' || factor > kLargest)
                return Fail(NeedsNumber(shown, kLargest));
            factor = factor * 10 + (c - '0');
        }
        if (factor < 1 || factor > kLargest)
            return Fail(NeedsNumber(shown, kLargest));
        result_.options.workFactor = factor;
    }

    // A passphrase stands alone: the format lets no other recipient share it.
    void CheckAgeTarget() {
        const CliOptions& o = result_.options;
        const bool toKeys = !o.recipients.empty() || !o.recipientsFiles.empty();
        if (toKeys && o.passphraseFile)
            Fail(Tr("cli", "--passphrase-file and recipients can't be mixed"));
        else if (toKeys && o.workFactor != 0)
            Fail(Tr("cli", "--work-factor belongs to a passphrase, not to recipients"));
        else if (o.passphraseFile == kStandardStream && o.passwordFile == kStandardStream)
            Fail(Tr("cli", "the password and the passphrase can't both come from standard input"));
        else if (o.ReadsStandardInput())
            Fail(Tr("cli", "convert reads a .cry file, not standard input"));
    }

    void SetJobs(const std::string& value, const std::string& shown) {
        if (result_.options.jobs != 0)
            return Fail(GivenTwice(shown));
        unsigned jobs = 0;
        for (const char c : value) {
            if (c < '0' || c > '9' || jobs > kMostJobs)
                return Fail(NeedsNumber(shown, kMostJobs));
            jobs = jobs * 10 + static_cast<unsigned>(c - '0');
        }
        if (jobs < 1 || jobs > kMostJobs)
            return Fail(NeedsNumber(shown, kMostJobs));
        result_.options.jobs = jobs;
    }

    void CheckCombination() {
        const CliOptions& o = result_.options;
        if (o.files.empty())
            // TRANSLATORS: %1 is the command: "encrypt", "decrypt"...
            return Fail(FormatText(Tr("cli", "%1 needs at least one FILE"), {command_.name}));
        if (o.output && (o.files.size() > 1 || o.recurse))
            return Fail(
                // TRANSLATORS: %1 is the option as typed: "-o", "--output", "-c".
                FormatText(Tr("cli", "%1 names the destination of a single FILE"), {outputShown_}));
        if (o.passwordFile && o.passwordEnv)
            return Fail(Tr("cli", "-p and --password-env both give the password"));
        const auto dashes = std::count(o.files.begin(), o.files.end(), kStandardStream);
        if (dashes > 0 && o.files.size() > 1)
            return Fail(Tr("cli", "FILE \"-\" (standard input) must be the only FILE"));
        if (dashes > 0 && o.passwordFile == kStandardStream)
            return Fail(Tr("cli", "-p - and FILE - can't both read standard input; give the "
                                  "password in a file or with --password-env"));
        if (o.command == Command::Convert)
            CheckAgeTarget();
    }

    const CommandSpec& command_;
    const std::vector<std::string>& args_;
    std::size_t next_ = 1;
    std::string outputShown_;
    ParsedArguments result_;
};

// ---- The usage text ----

// The tables hold the English texts, which are also the manual page's.
std::string Translated(std::string_view text) {
    return Tr("cli", std::string(text).c_str());
}

std::string UsageHeading() {
    return Tr("cli", "Usage:") + "\n";
}

constexpr std::size_t kTextWidth = 79;
constexpr std::size_t kHelpColumn = 29;

// `text` broken into lines of at most kTextWidth columns, the first starting
// after `first` and the rest indented by `indent`.
std::string Wrapped(std::string_view first, std::string_view text, std::size_t indent) {
    std::string out(first);
    std::size_t column = TextColumns(out);
    if (column >= indent && column > 0 && text.size() > 0) {
        out += '\n' + std::string(indent, ' ');
        column = indent;
    } else {
        out += std::string(indent - column, ' ');
        column = indent;
    }
    bool lineStart = true;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
        if (!lineStart && column + 1 + TextColumns(word) > kTextWidth) {
            out += '\n' + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += TextColumns(word);
        lineStart = false;
    }
    return out + '\n';
}

std::string SwitchSpelling(const OptionSpec& option) {
    std::string text =
        option.letter != '\0' ? std::string("  -") + option.letter + ", " : std::string("      ");
    text += "--" + std::string(option.name);
    if (!option.value.empty())
        text += " " + std::string(option.value);
    return text;
}

std::string Synopsis(const CommandSpec& command) {
    std::string switches;
    for (const OptionSpec& option : kOptions) {
        if (!Takes(option, command) || option.id == OptionId::Help)
            continue;
        std::string one = option.letter != '\0' ? std::string("-") + option.letter
                                                : "--" + std::string(option.name);
        if (!option.value.empty())
            one += " " + std::string(option.value);
        switches += "[" + one + "] ";
    }
    const std::string head = "  kelvane-cli " + std::string(command.name);
    return Wrapped(head, switches + "FILE...", head.size() + 1);
}

std::string OptionList(const CommandSpec* only) {
    std::string text;
    for (const OptionSpec& option : kOptions) {
        if (only == nullptr || Takes(option, *only))
            text += Wrapped(SwitchSpelling(option), Translated(option.help), kHelpColumn);
    }
    return text;
}

std::string Closing() {
    std::string text = "\n" +
                       // TRANSLATORS: lines of at most 79 columns, broken where they read best.
                       Tr("cli", "The password has 6 to 8 characters of Windows-1252 (Western "
                                 "European).\nA crypted file holds at most 2 GiB. Crypted or "
                                 "decrypted data is never\nwritten to a terminal. Nothing is "
                                 "deleted when either side is \"-\".") +
                       "\n\n" + Tr("cli", "Exit status:") + "\n";
    for (const ExitCodeSpec& exit : kExitCodes)
        text += Wrapped("  " + std::string(exit.code), Translated(exit.meaning), 9);
    return text;
}

} // namespace

bool CliOptions::ReadsStandardInput() const {
    return std::find(files.begin(), files.end(), kStandardStream) != files.end();
}

bool CliOptions::WritesStandardOutput() const {
    return output ? *output == kStandardStream : ReadsStandardInput();
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    ParsedArguments result;
    if (args.empty()) {
        result.error = Tr("cli", "no command given");
        return result;
    }
    const std::string& first = args[0];
    if (first == "-h" || first == "--help" || first == "help") {
        result.options.command = Command::Help;
        return result;
    }
    if (first == "--version") {
        result.options.command = Command::Version;
        return result;
    }
    for (const CommandSpec& command : kCommands) {
        if (command.name == first)
            return Parser(command, args).Run();
    }
    // TRANSLATORS: %1 is the command as typed.
    result.error = FormatText(Tr("cli", "unknown command \"%1\""), {first});
    return result;
}

std::string UsageText() {
    std::string text = UsageHeading();
    for (const CommandSpec& command : kCommands)
        text += Synopsis(command);
    // TRANSLATORS: COMMAND stands for a command's name, as FILE does for a file's.
    text += "  kelvane-cli " + Tr("cli", "COMMAND") + " --help\n\n";
    for (const CommandSpec& command : kCommands)
        text += Wrapped("  " + std::string(command.name), Translated(command.what), 11);
    text += "\n" + Tr("cli", "On success the new file takes the source's permissions.") + "\n\n";
    return text + OptionList(nullptr) + Closing();
}

std::string UsageText(Command command) {
    for (const CommandSpec& spec : kCommands) {
        if (spec.command == command)
            return UsageHeading() + Synopsis(spec) + "\n" +
                   Wrapped("",
                           "kelvane-cli " + std::string(spec.name) + " " + Translated(spec.what),
                           0) +
                   "\n" + OptionList(&spec) + Closing();
    }
    return UsageText();
}

std::span<const OptionSpec> AllOptions() {
    return kOptions;
}

} // namespace kelvane::cli
