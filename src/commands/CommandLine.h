// SPDX-License-Identifier: GPL-3.0-or-later
// The one action of a program started with parameters, as the file manager's
// actions on a file start it: encrypt or decrypt the file, open or print a
// crypted file through its application, or decrypt it for good.
#pragma once

#include "commands/ShellCommands.h"

#include <string>
#include <vector>

namespace kelvane {

// Ends by closing the main window, unless the file's directory can't be
// entered; the program then goes on as after a start without parameters.
void RunCommandLine(ShellHost& host, const std::vector<std::string>& parameters);

// The message for a directory that can't be entered.
std::string DirectoryErrorText(const std::string& path);

} // namespace kelvane
