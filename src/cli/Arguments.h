// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of kelvane-cli: a command, its switches and the files.
// Every switch is declared once, in one table, with the commands that take
// it and its help text; the parser, the usage text and the check of the
// manual page all read that table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::cli {

enum class Command { Encrypt, Decrypt, Verify, Info, Convert, Help, Version };

// The name a FILE, -o or -p takes for standard input or standard output.
constexpr std::string_view kStandardStream = "-";

struct CliOptions {
    Command command = Command::Help;
    bool help = false;                       // -h after a command: that command's usage
    bool keep = false;                       // -k: keep the source after success
    bool force = false;                      // -f: replace an existing destination
    bool quiet = false;                      // -q: no progress bar (verify: no "OK" lines either)
    std::optional<std::string> output;       // -o: destination of the single FILE; "-": stdout
    std::optional<std::string> passwordFile; // -p: "-" is standard input
    std::optional<std::string> passwordEnv;  // --password-env: a variable's name
    bool recurse = false;                    // -r: walk the folders among the files
    unsigned jobs = 0;                       // -j: files at once; 0: one per processor
    // convert: whom the age file is for, and its form.
    std::optional<std::string> passphraseFile; // "-" is standard input
    int workFactor = 0;                        // 0: the default
    std::vector<std::string> recipients;       // --recipient age1...
    std::vector<std::string> recipientsFiles;  // -R FILE
    bool armor = false;                        // -a
    std::vector<std::string> files;

    bool ReadsStandardInput() const;
    bool WritesStandardOutput() const;
};

struct ParsedArguments {
    CliOptions options;
    std::string error; // empty when the arguments are usable
    bool Ok() const { return error.empty(); }
};

// `args` excludes the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The usage of every command, or of one command.
std::string UsageText();
std::string UsageText(Command command);

enum class OptionId {
    Keep,
    Force,
    Quiet,
    Stdout,
    Output,
    PasswordFile,
    PasswordEnv,
    Recursive,
    Jobs,
    Armor,
    Recipient,
    RecipientsFile,
    PassphraseFile,
    WorkFactor,
    Help,
};

// One switch: its one-letter form ('\0' when it has none), its long form,
// the name of its value (empty for a switch without one), the commands that
// take it and what it does.
struct OptionSpec {
    OptionId id;
    char letter;
    std::string_view name;
    std::string_view value;
    std::string_view commands; // initials of the commands: "edvi"
    std::string_view help;
};
std::span<const OptionSpec> AllOptions();

} // namespace kelvane::cli
