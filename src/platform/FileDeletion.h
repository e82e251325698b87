// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting a file the user confirmed. Everything here works on the directory
// entry itself: a symbolic link is removed as a link, and neither its
// attributes nor its target are ever touched. Nor is a file's mode: removing
// a name needs no permission on the file, and its other names keep it.
#pragma once

#include "platform/FileAttributes.h"

#include <string>

namespace kelvane {

// The attributes of the entry `name`; a symbolic link reads as a plain,
// writable file. faInvalid when there is no such entry.
HeldAttributes ReadEntryAttributes(const std::string& name);

// Removes the entry `name`: a file or a link, never a folder, never the
// target of a link. No trash can: the user was asked before.
bool DeleteFileEntry(const std::string& name);

} // namespace kelvane
