// SPDX-License-Identifier: GPL-3.0-or-later
// Which names of one directory came or went since it was last asked, so a
// list of the directory can be brought up to date without reading it all.
#pragma once

#include "platform/FileNode.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

class DirectoryWatch {
public:
    DirectoryWatch() = default;
    ~DirectoryWatch();
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    // Starts watching `directory`, forgetting any earlier one. False when the
    // system can't watch it; the caller then reads it in full every time.
    bool Start(const std::string& directory);
    void Stop();
    bool Active() const { return wd_ >= 0; }
    // Readable when a change waits to be taken; -1 before the first Start.
    int Descriptor() const { return fd_; }

    // The names created, deleted or renamed in or out since Start or the
    // last call, each at most once. Nothing when the watch lost track (too
    // many changes at once, the directory moved or gone, its name leading to
    // another folder now, or it changed in a way that reported no names, as a
    // network file system may): the directory must then be read in full.
    std::optional<std::vector<std::string>> TakeChanges();

private:
    bool ReadEvents(std::vector<std::string>& names);
    void DiscardEvents();
    // Notes the directory's last-change time: 0 unchanged since the last
    // look, 1 changed, -1 gone.
    int StampChange();

    int fd_ = -1; // kept from one directory to the next
    int wd_ = -1; // the watch on the current directory
    std::string directory_;
    long long stampSeconds_ = 0;
    long long stampNanoseconds_ = 0;
    bool identityKnown_ = false;
    FileNode node_;
};

} // namespace kelvane
