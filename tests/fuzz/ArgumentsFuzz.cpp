// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes split at NUL bytes into the arguments of kelvane-cli: the
// parser must not crash or hang whatever it is given, and arguments it
// accepts must make a command the program can run: a FILE to work on,
// numbers in their range, one source for the password. Parsing reads no
// file and no environment, so nothing here touches the disk.
#include "cli/Arguments.h"

#include <algorithm>
#include <cstdlib>

namespace {

using kelvane::cli::Command;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    if (size > 0) {
        const std::string_view text(reinterpret_cast<const char*>(data), size);
        for (std::size_t at = 0;;) {
            const std::size_t end = std::min(text.find('\0', at), text.size());
            args.emplace_back(text.substr(at, end - at));
            if (end == text.size())
                break;
            at = end + 1;
        }
    }

    const kelvane::cli::ParsedArguments parsed = kelvane::cli::ParseArguments(args);
    const kelvane::cli::CliOptions& o = parsed.options;
    Require(!parsed.Ok() || !args.empty());
    // Each command's usage, as -h would show it after these arguments.
    Require(!kelvane::cli::UsageText(o.command).empty());
    if (!parsed.Ok() || o.help || o.command == Command::Help || o.command == Command::Version)
        return 0;

    Require(!o.files.empty());
    Require(o.jobs <= 256 && o.workFactor >= 0 && o.workFactor <= 22);
    Require(!o.output || (o.files.size() == 1 && !o.recurse));
    Require(!(o.passwordFile && o.passwordEnv));
    Require(!o.ReadsStandardInput() || o.files.size() == 1);
    const auto named = [](const std::optional<std::string>& value) {
        return !value || !value->empty();
    };
    Require(named(o.output) && named(o.passwordFile) && named(o.passwordEnv) &&
            named(o.passphraseFile));
    const auto empty = [](const std::string& value) { return value.empty(); };
    Require(std::none_of(o.recipients.begin(), o.recipients.end(), empty));
    Require(std::none_of(o.recipientsFiles.begin(), o.recipientsFiles.end(), empty));
    if (o.command != Command::Convert)
        Require(o.recipients.empty() && o.recipientsFiles.empty() && !o.passphraseFile &&
                o.workFactor == 0 && !o.armor);
    else
        Require(!o.ReadsStandardInput() && ((o.recipients.empty() && o.recipientsFiles.empty()) ||
                                            (!o.passphraseFile && o.workFactor == 0)));

    // The same arguments parse the same way again.
    const kelvane::cli::ParsedArguments again = kelvane::cli::ParseArguments(args);
    Require(again.Ok() && again.options.files == o.files && again.options.output == o.output);
    return 0;
}
