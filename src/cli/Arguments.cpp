#include "cli/Arguments.h"

#include <string_view>

namespace kelvane::cli {
namespace {

struct CommandName {
    std::string_view name;
    Command command;
    std::string_view switches; // the short switches the command accepts
};

constexpr CommandName kCommands[] = {
    {"encrypt", Command::Encrypt, "kfqoprj"},
    {"decrypt", Command::Decrypt, "kfqoprj"},
    {"verify", Command::Verify, "qprj"},
    {"info", Command::Info, ""},
};

struct LongSwitch {
    std::string_view name;
    char letter;
};

constexpr LongSwitch kLongSwitches[] = {
    {"keep", 'k'},          {"force", 'f'},     {"quiet", 'q'}, {"output", 'o'},
    {"password-file", 'p'}, {"recursive", 'r'}, {"jobs", 'j'},
};

// Each file running has its own engine threads and buffers: a bound keeps a
// typing mistake from starting thousands of them.
constexpr unsigned kMostJobs = 256;

bool TakesValue(char letter) {
    return letter == 'o' || letter == 'p' || letter == 'j';
}

class Parser {
public:
    Parser(const CommandName& command, const std::vector<std::string>& args)
        : command_(command), args_(args) {
        result_.options.command = command.command;
    }

    ParsedArguments Run() {
        bool switchesEnded = false;
        for (next_ = 1; next_ < args_.size() && result_.Ok(); ++next_) {
            const std::string& arg = args_[next_];
            if (switchesEnded || arg == "-" || arg.empty() || arg[0] != '-')
                result_.options.files.push_back(arg);
            else if (arg == "--")
                switchesEnded = true;
            else if (arg.starts_with("--"))
                LongForm(arg.substr(2));
            else
                ShortForms(arg.substr(1));
        }
        if (result_.Ok())
            CheckFiles();
        return result_;
    }

private:
    void Fail(std::string message) {
        if (result_.Ok())
            result_.error = std::move(message);
    }

    void LongForm(const std::string& text) {
        const auto equals = text.find('=');
        const std::string name = text.substr(0, equals);
        for (const LongSwitch& s : kLongSwitches) {
            if (s.name != name)
                continue;
            if (equals != std::string::npos && !TakesValue(s.letter))
                return Fail("--" + name + " takes no value");
            if (equals != std::string::npos)
                return Apply(s.letter, text.substr(equals + 1), "--" + name);
            return ApplyNextValue(s.letter, "--" + name);
        }
        Fail("unknown option --" + name);
    }

    // "-kfq", "-oOUT", "-o OUT".
    void ShortForms(const std::string& letters) {
        for (std::size_t i = 0; i < letters.size() && result_.Ok(); ++i) {
            const char letter = letters[i];
            const std::string shown = std::string("-") + letter;
            if (!TakesValue(letter)) {
                Apply(letter, {}, shown);
                continue;
            }
            if (i + 1 < letters.size())
                return Apply(letter, letters.substr(i + 1), shown);
            return ApplyNextValue(letter, shown);
        }
    }

    void ApplyNextValue(char letter, const std::string& shown) {
        if (!TakesValue(letter))
            return Apply(letter, {}, shown);
        if (next_ + 1 >= args_.size())
            return Fail(shown + " needs a value");
        Apply(letter, args_[++next_], shown);
    }

    void Apply(char letter, const std::string& value, const std::string& shown) {
        if (command_.switches.find(letter) == std::string_view::npos)
            return Fail("unknown option " + shown + " for " + std::string(command_.name));
        CliOptions& o = result_.options;
        switch (letter) {
        case 'k':
            o.keep = true;
            break;
        case 'f':
            o.force = true;
            break;
        case 'q':
            o.quiet = true;
            break;
        case 'o':
            SetOnce(o.output, value, shown);
            break;
        case 'p':
            SetOnce(o.passwordFile, value, shown);
            break;
        case 'r':
            o.recurse = true;
            break;
        case 'j':
            SetJobs(value, shown);
            break;
        default:
            break;
        }
    }

    void SetOnce(std::optional<std::string>& slot, const std::string& value,
                 const std::string& shown) {
        if (slot)
            return Fail(shown + " given twice");
        if (value.empty())
            return Fail(shown + " needs a value");
        slot = value;
    }

    void SetJobs(const std::string& value, const std::string& shown) {
        if (result_.options.jobs != 0)
            return Fail(shown + " given twice");
        unsigned jobs = 0;
        for (const char c : value) {
            if (c < '0' || c > '9' || jobs > kMostJobs)
                return Fail(shown + " needs a number from 1 to " + std::to_string(kMostJobs));
            jobs = jobs * 10 + static_cast<unsigned>(c - '0');
        }
        if (jobs < 1 || jobs > kMostJobs)
            return Fail(shown + " needs a number from 1 to " + std::to_string(kMostJobs));
        result_.options.jobs = jobs;
    }

    void CheckFiles() {
        const CliOptions& o = result_.options;
        if (o.files.empty())
            Fail(std::string(command_.name) + " needs at least one FILE");
        else if (o.output && (o.files.size() > 1 || o.recurse))
            Fail("-o names the destination of a single FILE");
    }

    const CommandName& command_;
    const std::vector<std::string>& args_;
    std::size_t next_ = 1;
    ParsedArguments result_;
};

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    ParsedArguments result;
    if (args.empty()) {
        result.error = "no command given";
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
    for (const CommandName& command : kCommands) {
        if (command.name == first)
            return Parser(command, args).Run();
    }
    result.error = "unknown command \"" + first + "\"";
    return result;
}

std::string UsageText() {
    return "Usage:\n"
           "  kelvane-cli encrypt [-k] [-f] [-q] [-r] [-j N] [-o OUT] [-p PWFILE] FILE...\n"
           "  kelvane-cli decrypt [-k] [-f] [-q] [-r] [-j N] [-o OUT] [-p PWFILE] FILE...\n"
           "  kelvane-cli verify  [-q] [-r] [-j N] [-p PWFILE] FILE...\n"
           "  kelvane-cli info    FILE...\n"
           "\n"
           "encrypt writes FILE.cry; decrypt reads NAME.cry and writes NAME. On success\n"
           "the source is deleted and the new file takes the source's permissions.\n"
           "verify runs every decryption check and writes nothing; info shows the\n"
           "header of a crypted file without a password.\n"
           "\n"
           "  -k, --keep                 keep the source file\n"
           "  -f, --force                replace an existing destination\n"
           "  -q, --quiet                no progress bar on the terminal (verify: no \"OK\"\n"
           "                             lines)\n"
           "  -r, --recursive            walk FILEs that are folders: encrypt takes every\n"
           "                             file not ending in .cry, decrypt and verify the\n"
           "                             .cry files; symbolic links, special files and\n"
           "                             other file systems are passed over\n"
           "  -j, --jobs N               up to N files at once (default: one per processor)\n"
           "  -o, --output OUT           destination of a single FILE\n"
           "  -p, --password-file PATH   read the password from the first line of PATH\n"
           "                             (\"-\": standard input); otherwise it is asked\n"
           "                             on the terminal\n"
           "\n"
           "The password has 6 to 8 characters of Windows-1252 (Western European).\n"
           "Exit status: 0 every FILE done, 1 some FILE failed or the run was cancelled,\n"
           "2 usage error or unusable password, 3 verify or info done but a FILE's\n"
           "stored length does not fit the data that follows (a damaged length field).\n";
}

} // namespace kelvane::cli
