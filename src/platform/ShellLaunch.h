// SPDX-License-Identifier: GPL-3.0-or-later
// Handing a file to the desktop: "open" starts the default application of
// the file's type, "print" runs the print spooler's `lp`. Both report the
// process they started, so a caller can wait for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

// What a running process reads as, in place of an exit code.
inline constexpr int kStillActive = 259;

struct ShellLaunchResult {
    bool launched = false;
    // The process started; 0 when the document went to an application that
    // was already running (a D-Bus activated one, say) and nothing is ours.
    int64_t process = 0;
};

// Starts the verb's program on `file`, relative to the working directory,
// which the program inherits. Fails for an unknown verb, a type with no
// application, or a program that can't be started.
ShellLaunchResult ShellLaunch(const std::string& verb, const std::string& file);

// The same for a caller that will not wait: the process is reaped later by
// the program itself, so it leaves no zombie behind.
bool ShellLaunchDetached(const std::string& verb, const std::string& file);

// The exit code of a process this program started, kStillActive while it
// runs; nothing when it is not a process of ours. An ended process is reaped
// the first time it is seen ended, and reads as ended from then on.
std::optional<int> ProcessExitCode(int64_t process);

// What a started `lp` wrote to its standard error, once: later calls, and
// processes of other verbs, give nothing.
std::optional<std::string> ErrorOutputOf(int64_t process);

// Reaps every detached process that has ended meanwhile.
void ReapDetachedProcesses();

} // namespace kelvane
