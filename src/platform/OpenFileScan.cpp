// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OpenFileScan.h"

#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

bool IsProcessNumber(const char* name) {
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name)
        if (std::isdigit(static_cast<unsigned char>(*name)) == 0)
            return false;
    return true;
}

// Adds to `held` every file of `wanted` that the descriptor table at
// `process` (a /proc/<pid> directory descriptor) names.
void ScanProcess(int process, const std::set<FileNode>& wanted, std::set<FileNode>& held) {
    const int fdDirectory = ::openat(process, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdDirectory < 0)
        return; // not ours to read, or gone: holds nothing we can see
    DIR* entries = ::fdopendir(fdDirectory);
    if (entries == nullptr) {
        ::close(fdDirectory);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        if (entry->d_name[0] == '.')
            continue;
        struct stat target {};
        // stat follows the descriptor's link to the open file itself, also
        // one renamed or reached through another name.
        if (::fstatat(fdDirectory, entry->d_name, &target, 0) != 0)
            continue;
        const FileNode identity = NodeOf(target);
        if (wanted.count(identity) != 0)
            held.insert(identity);
    }
    ::closedir(entries);
}

} // namespace

bool IdentityOf(const std::string& path, FileNode& identity) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    identity = NodeOf(st);
    return true;
}

std::set<FileNode> FilesHeldByOthers(const std::set<FileNode>& files, const std::string& procRoot) {
    std::set<FileNode> held;
    if (files.empty())
        return held;
    DIR* root = ::opendir(procRoot.c_str());
    if (root == nullptr)
        return held;
    const std::string self = std::to_string(::getpid());
    const uid_t user = ::getuid();
    while (const dirent* entry = ::readdir(root)) {
        if (!IsProcessNumber(entry->d_name) || self == entry->d_name)
            continue;
        const int process =
            ::openat(::dirfd(root), entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (process < 0)
            continue;
        struct stat owner {};
        // The user's own programs are the ones that hold their documents;
        // other users' tables are not ours to read anyway.
        if (::fstat(process, &owner) == 0 && owner.st_uid == user)
            ScanProcess(process, files, held);
        ::close(process);
        if (held.size() == files.size())
            break;
    }
    ::closedir(root);
    return held;
}

HeldFileMonitor::HeldFileMonitor() : inotify_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

HeldFileMonitor::~HeldFileMonitor() {
    if (inotify_ >= 0)
        ::close(inotify_);
}

void HeldFileMonitor::FollowPaths(const std::map<FileNode, std::string>& files) {
    if (inotify_ < 0)
        return;
    std::map<std::string, int> followed;
    for (const auto& [identity, path] : files) {
        // Adding a watch that exists is cheap and also follows a file that
        // was replaced under the same name.
        const int watch = ::inotify_add_watch(inotify_, path.c_str(),
                                              IN_OPEN | IN_CLOSE | IN_MOVE_SELF | IN_DELETE_SELF);
        if (watch >= 0)
            followed[path] = watch;
    }
    for (const auto& [path, watch] : watches_) {
        bool stillUsed = false;
        for (const auto& [newPath, newWatch] : followed)
            stillUsed = stillUsed || newWatch == watch;
        if (!stillUsed)
            ::inotify_rm_watch(inotify_, watch);
    }
    watches_ = std::move(followed);
}

bool HeldFileMonitor::TakeActivity() {
    if (inotify_ < 0)
        return true; // no notices: every question is answered by a scan
    bool activity = false;
    alignas(inotify_event) char buffer[4096];
    while (::read(inotify_, buffer, sizeof buffer) > 0)
        activity = true;
    return activity;
}

std::set<FileNode> HeldFileMonitor::Held(const std::map<FileNode, std::string>& files) {
    FollowPaths(files);
    std::set<FileNode> identities;
    for (const auto& entry : files)
        identities.insert(entry.first);
    // Notices that arrive during the scan wait for the next question.
    const bool activity = TakeActivity();
    const auto now = std::chrono::steady_clock::now();
    if (activity || identities != lastFiles_ || scans_ == 0 || now - lastScan_ >= kLongestReuse) {
        lastHeld_ = FilesHeldByOthers(identities);
        lastFiles_ = std::move(identities);
        lastScan_ = now;
        ++scans_;
    }
    return lastHeld_;
}

} // namespace kelvane
