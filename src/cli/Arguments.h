// The command line of kelvane-cli: a command, its switches and the files.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane::cli {

enum class Command { Encrypt, Decrypt, Verify, Info, Convert, Help, Version };

struct CliOptions {
    Command command = Command::Help;
    bool keep = false;                       // -k: keep the source after success
    bool force = false;                      // -f: replace an existing destination
    bool quiet = false;                      // -q: no progress bar (verify: no "OK" lines either)
    std::optional<std::string> output;       // -o: destination of the single FILE
    std::optional<std::string> passwordFile; // -p: "-" is standard input
    bool recurse = false;                    // -r: walk the folders among the files
    unsigned jobs = 0;                       // -j: files at once; 0: one per processor
    // convert: whom the age file is for, and its form.
    std::optional<std::string> passphraseFile; // "-" is standard input
    int workFactor = 0;                        // 0: the default
    std::vector<std::string> recipients;       // --recipient age1...
    std::vector<std::string> recipientsFiles;  // -R FILE
    bool armor = false;                        // -a
    std::vector<std::string> files;
};

struct ParsedArguments {
    CliOptions options;
    std::string error; // empty when the arguments are usable
    bool Ok() const { return error.empty(); }
};

// `args` excludes the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

std::string UsageText();

} // namespace kelvane::cli
