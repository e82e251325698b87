// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DirectoryWatch.h"

#include <algorithm>
#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

constexpr uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kLostTrack =
    IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

} // namespace

DirectoryWatch::~DirectoryWatch() {
    Stop();
    if (fd_ >= 0)
        ::close(fd_);
}

bool DirectoryWatch::Start(const std::string& directory) {
    Stop();
    // One instance serves every directory watched in turn: closing an
    // instance waits for the kernel to retire its watches, several
    // milliseconds each time, which a walk entering folder after folder
    // would pay once per folder.
    if (fd_ < 0)
        fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return false;
    DiscardEvents();
    directory_ = directory;
    identityKnown_ = false;
    wd_ = ::inotify_add_watch(fd_, directory.c_str(),
                              kNameEvents | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    if (wd_ < 0 || StampChange() < 0) {
        Stop();
        return false;
    }
    return true;
}

void DirectoryWatch::Stop() {
    // Removing a watch does not wait; its last events are told apart by
    // their watch number and passed over.
    if (wd_ >= 0)
        ::inotify_rm_watch(fd_, wd_);
    wd_ = -1;
}

void DirectoryWatch::DiscardEvents() {
    alignas(inotify_event) char buffer[4096];
    while (::read(fd_, buffer, sizeof buffer) > 0) {
    }
}

std::optional<std::vector<std::string>> DirectoryWatch::TakeChanges() {
    std::vector<std::string> names;
    if (!Active() || !ReadEvents(names)) {
        Stop();
        return std::nullopt;
    }
    // Every change of a local directory is reported; a changed stamp with no
    // name to show for it came from elsewhere.
    const int stamp = StampChange();
    if (stamp < 0 || (stamp > 0 && names.empty())) {
        Stop();
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool DirectoryWatch::ReadEvents(std::vector<std::string>& names) {
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK;
        if (got == 0)
            return false;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            // Left over from a directory watched before; an overflow has no
            // watch number and concerns every watch.
            if (event->wd != wd_ && (event->mask & IN_Q_OVERFLOW) == 0)
                continue;
            if (event->mask & kLostTrack)
                return false;
            if (event->len > 0)
                names.emplace_back(event->name);
        }
    }
}

int DirectoryWatch::StampChange() {
    struct stat st {};
    if (::stat(directory_.c_str(), &st) != 0)
        return -1;
    // The name may lead to another folder now: a relative name after a
    // change of the working directory, or a folder made again.
    if (identityKnown_ && NodeOf(st) != node_)
        return -1;
    identityKnown_ = true;
    node_ = NodeOf(st);
    const bool same = st.st_mtim.tv_sec == stampSeconds_ && st.st_mtim.tv_nsec == stampNanoseconds_;
    stampSeconds_ = st.st_mtim.tv_sec;
    stampNanoseconds_ = st.st_mtim.tv_nsec;
    return same ? 0 : 1;
}

} // namespace kelvane
