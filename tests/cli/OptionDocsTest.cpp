// SPDX-License-Identifier: GPL-3.0-or-later
// The manual page and the help page list exactly the switches the parser
// takes, and every exit status, so they can't drift from --help again; the
// shell completions offer every switch.
#include "cli/Arguments.h"
#include "cli/ExitCodes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace kelvane::cli {
namespace {

using testing_support::ReadFile;

std::set<std::string> LongSwitchesIn(std::string text, const std::string& dash) {
    for (std::size_t at = 0; (at = text.find(dash, at)) != std::string::npos; ++at)
        text.replace(at, dash.size(), "-");
    std::set<std::string> found;
    const std::regex longSwitch("--([a-z][a-z-]*)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), longSwitch);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[1]);
    return found;
}

std::set<std::string> TableSwitches() {
    std::set<std::string> names = {"version"};
    for (const OptionSpec& option : AllOptions())
        names.insert(std::string(option.name));
    return names;
}

TEST(OptionDocs, ManualAndHelpPageListEveryOptionAndNoOther) {
    const std::string manual = ReadFile(KELVANE_SOURCE_DIR "/packaging/kelvane-cli.1.in");
    const std::string page = ReadFile(KELVANE_SOURCE_DIR "/packaging/help/command-line.html");
    EXPECT_EQ(LongSwitchesIn(manual, "\\-"), TableSwitches());
    EXPECT_EQ(LongSwitchesIn(page, "-"), TableSwitches());
    for (const char* completion : {"kelvane-cli.bash", "_kelvane-cli"}) {
        const std::string script =
            ReadFile(std::string(KELVANE_SOURCE_DIR "/packaging/completion/") + completion);
        for (const OptionSpec& option : AllOptions())
            EXPECT_NE(script.find("--" + std::string(option.name)), std::string::npos)
                << completion << " lacks --" << option.name;
    }
    for (const OptionSpec& option : AllOptions()) {
        if (option.letter == '\0')
            continue;
        const std::string letter(1, option.letter);
        std::string troffName;
        for (const char c : option.name)
            troffName += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(manual.find(".BR \\-" + letter + " \", \" \\-\\-" + troffName), std::string::npos)
            << "-" << letter;
        EXPECT_NE(page.find("<tt>-" + letter + ", --" + std::string(option.name)),
                  std::string::npos)
            << "-" << letter;
    }
    for (const ExitCodeSpec& exit : kExitCodes) {
        const std::string code(exit.code.substr(0, exit.code.find('+') + 1));
        EXPECT_NE(manual.find("\n.B" + std::string(code.ends_with('+') ? "R " : " ") + code),
                  std::string::npos)
            << exit.code;
        EXPECT_NE(page.find("<tr><td>" + std::string(exit.code) + "</td>"), std::string::npos)
            << exit.code;
    }
}

} // namespace
} // namespace kelvane::cli
