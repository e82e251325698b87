// SPDX-License-Identifier: GPL-3.0-or-later
// Path arithmetic for POSIX names: "/" separates, "/" alone is the root.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr char kPathSeparator = '/';
// The longest file name (one path component) the file systems take, in bytes.
inline constexpr std::size_t kMaxNameBytes = 255;

// Everything up to and including the last separator; empty when there is none.
std::string DirectoryPart(std::string_view path);
// Everything after the last separator.
std::string NamePart(std::string_view path);
// From the last "." on, dot included, when no separator follows it; else empty.
std::string ExtensionOf(std::string_view path);
// True for the file system's root, the place a tree walk can't climb above.
bool IsRootDirectory(std::string_view path);
// The directory and the name with exactly one separator between them; the
// name alone when the directory is empty.
std::string JoinPath(std::string_view directory, std::string_view name);
// True when the last component of the path is longer than a file system takes.
bool NameTooLong(std::string_view path);
// The process's working directory, however long; empty when it can't be read
// (removed meanwhile, or no permission on a folder above it).
std::string CurrentDirectory();

} // namespace kelvane
