// SPDX-License-Identifier: GPL-3.0-or-later
// The one action of a program started with parameters, as the file manager's
// actions on a file start it: encrypt or decrypt the file, open or print a
// crypted file through its application, or decrypt it for good; or, for the
// files a file manager has selected, one run over them all.
#pragma once

#include "commands/SelectionCommands.h"
#include "commands/ShellCommands.h"

#include <string>
#include <vector>

namespace kelvane {

// The option that hands on a list of files: `kelvane --run FILE...`.
inline constexpr const char* kRunFilesOption = "--run";

// Ends by closing the main window, unless the file's directory can't be
// entered; the program then goes on as after a start without parameters.
// `selection` runs the list of files of kRunFilesOption.
void RunCommandLine(ShellHost& host, SelectionHost& selection,
                    const std::vector<std::string>& parameters);

// Encrypts the plain files and decrypts the crypted ones among `paths`, in
// their order, as one run, wherever each lies: its folder is shown while it
// is handled. While "One password for a file list" is ticked, the first file
// of each kind asks the password for the rest of that kind. "Cancel process"
// stops the run between two files.
void RunFileList(ShellHost& host, SelectionHost& selection, const std::vector<std::string>& paths);

// The message for a directory that can't be entered.
std::string DirectoryErrorText(const std::string& path);

} // namespace kelvane
