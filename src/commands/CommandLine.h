// SPDX-License-Identifier: GPL-3.0-or-later
// The one action of a program started with parameters, as the file manager's
// actions on a file start it: encrypt or decrypt the file, open or print a
// crypted file through its application, or decrypt it for good; or, for the
// files a file manager has selected, one run over them all.
#pragma once

#include "commands/SelectionCommands.h"
#include "commands/ShellCommands.h"

#include <functional>
#include <string>
#include <vector>

namespace kelvane {

// The options that hand on a list of files, as a file manager passes its
// selection: `kelvane --run FILE...` encrypts the plain files and decrypts
// the crypted ones, `--open FILE...` opens crypted files in their
// applications and encrypts them again afterwards, `--convert FILE...` makes
// age files of crypted ones.
inline constexpr const char* kRunFilesOption = "--run";
inline constexpr const char* kOpenFilesOption = "--open";
inline constexpr const char* kConvertFilesOption = "--convert";

// Ends by closing the main window, unless the file's directory can't be
// entered; the program then goes on as after a start without parameters.
// `selection` runs the lists of files, `ageTarget` says where a converted
// file goes.
void RunCommandLine(ShellHost& host, SelectionHost& selection,
                    const std::vector<std::string>& parameters, const AgeTargetSource& ageTarget);

// What a run over a list does with one file: `name` as the lists show it,
// `path` the file on disk; its folder is the working directory.
using ListedFileStep = std::function<void(const std::string& name, const std::string& path)>;

// The message for a directory that can't be entered.
std::string DirectoryErrorText(const std::string& path);

// Encrypts a plain file, decrypts a crypted one.
ListedFileStep EncryptOrDecryptStep(ShellHost& host);

// Runs `step` on each of `paths`, in their order, as one run, wherever each
// lies: its folder is shown while it is handled. While "One password for a
// file list" is ticked, the first file of each kind, plain or crypted, asks
// the password for the rest of that kind. "Cancel process" stops the run
// between two files.
// `listPassword` false: every file asks for its own, as files opened in
// their applications do, since the password is not kept while they are out.
void RunFileList(ShellHost& host, SelectionHost& selection, const std::vector<std::string>& paths,
                 const ListedFileStep& step, bool listPassword = true);

} // namespace kelvane
