// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli as a routine over streams, so it runs inside a test as well as
// in its own process.
#pragma once

#include "cli/ExitCodes.h"
#include "cli/Password.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kelvane::cli {

struct CliEnvironment {
    int in; // standard input: the password for "-p -", or the data of FILE "-"
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // draws the progress bar on err
    PasswordPrompter& prompter;
    std::function<void()> letEventsRun; // passed on to the engine
    int outFd = -1;                     // where crypted or decrypted data goes for "-"; -1: nowhere
    std::function<int()> terminalColumns = {}; // the width of err's terminal; 0 when unknown
};

// `args` excludes the program name. Once a run is cancelled no further FILE
// is started.
int RunCli(const std::vector<std::string>& args, const CliEnvironment& env);

} // namespace kelvane::cli
