// kelvane-cli as a routine over streams, so it runs inside a test as well as
// in its own process.
#pragma once

#include "cli/Password.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kelvane::cli {

constexpr int kExitDone = 0;   // every FILE done
constexpr int kExitFailed = 1; // some FILE failed
constexpr int kExitUsage = 2;  // the command line or the password was unusable
// verify or info: every FILE done, but some stored length does not fit the
// data that follows it.
constexpr int kExitLengthWarning = 3;

struct CliEnvironment {
    int in; // the file descriptor that holds the password for "-p -"
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // draws the progress bar on err
    PasswordPrompter& prompter;
    std::function<void()> letEventsRun; // passed on to the engine
};

// `args` excludes the program name. Once a run is cancelled no further FILE
// is started.
int RunCli(const std::vector<std::string>& args, const CliEnvironment& env);

} // namespace kelvane::cli
