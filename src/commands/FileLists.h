// SPDX-License-Identifier: GPL-3.0-or-later
// Which files of a directory go to the plain list and which to the crypted
// one, and how each is shown there. The window's grids and the commands'
// tests both build their lists with it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kelvane {

// One file as a list shows it.
struct ListedFile {
    std::string Name;     // the text of the Name column
    std::string FileName; // the file on disk, as the directory spells it
};

struct SplitLists {
    std::vector<ListedFile> Plain;   // in the order of the names given
    std::vector<ListedFile> Crypted; // likewise; shown without their last four
                                     // characters when ShowCry is off
};

// Splits the names of one directory (sorted as the lists sort them) into the
// plain and the crypted files.
SplitLists SplitByExtension(const std::vector<std::string>& names, bool showCry);

// The same split without lists of its own: `plain` or `crypted` is called
// for each name in turn, `crypted` with the name the file is shown under.
void SplitByExtension(
    const std::vector<std::string>& names, bool showCry,
    const std::function<void(const std::string& name)>& plain,
    const std::function<void(const std::string& name, std::string shown)>& crypted);

// The listed file of that exact file name on disk; null when none is.
const ListedFile* FindFileNamed(const std::vector<ListedFile>& files, const std::string& fileName);

// The listed file shown under `name`: the one shown exactly so, else the
// first shown so when case is ignored; null when none is.
const ListedFile* FindShown(const std::vector<ListedFile>& files, const std::string& name);

} // namespace kelvane
