// SPDX-License-Identifier: GPL-3.0-or-later
// Whether another program holds a file open: Linux has no share modes that
// would make an open fail, so the processes' descriptor tables are read.
#pragma once

#include "platform/FileNode.h"

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <sys/types.h>
#include <utility>

namespace kelvane {

// The identity of the file at `path`, following links; nothing when it is
// gone.
bool IdentityOf(const std::string& path, FileNode& identity);

// Which of `files` some process of this user, other than this program, has
// open: one pass over /proc/<pid>/fd. A process whose table can't be read
// (gone meanwhile, or not ours to read) counts as holding nothing.
std::set<FileNode> FilesHeldByOthers(const std::set<FileNode>& files,
                                     const std::string& procRoot = "/proc");

// FilesHeldByOthers made cheap enough to ask a few times a second: a scan
// costs some microseconds per open descriptor of every process, so the
// tables are read again only when one of the files was opened or closed
// since the last scan (the kernel tells us through inotify), when the set of
// files changes, and at the latest every few seconds in case a notice was
// lost.
class HeldFileMonitor {
public:
    HeldFileMonitor();
    ~HeldFileMonitor();
    HeldFileMonitor(const HeldFileMonitor&) = delete;
    HeldFileMonitor& operator=(const HeldFileMonitor&) = delete;

    // `files`: each file's identity and its path.
    std::set<FileNode> Held(const std::map<FileNode, std::string>& files);
    // How many times the tables were read.
    int Scans() const { return scans_; }

    static constexpr std::chrono::seconds kLongestReuse{5};

private:
    void FollowPaths(const std::map<FileNode, std::string>& files);
    bool TakeActivity();

    int inotify_ = -1;
    std::map<std::string, int> watches_; // path -> watch descriptor
    std::set<FileNode> lastFiles_;
    std::set<FileNode> lastHeld_;
    std::chrono::steady_clock::time_point lastScan_;
    int scans_ = 0;
};

} // namespace kelvane
