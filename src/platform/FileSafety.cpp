// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSafety.h"

#include "crypto/CryptNames.h"
#include "platform/FileAccess.h"
#include "platform/FileNode.h"
#include "platform/Paths.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

SourceKind KindOfSource(const std::string& path) {
    return KindOfSourceAt(AT_FDCWD, path);
}

SourceKind KindOfSourceAt(int folder, const std::string& name) {
    struct stat st {};
    if (name.empty() || ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return SourceKind::Missing;
    if (S_ISLNK(st.st_mode))
        return SourceKind::SymbolicLink;
    return S_ISREG(st.st_mode) ? SourceKind::RegularFile : SourceKind::NotAFile;
}

unsigned NewFilePermissions(unsigned mode) {
    return mode & 0777;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    return IsSameFileAt(AT_FDCWD, a, b);
}

bool IsSameFileAt(int folder, const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    struct stat sa {
    }, sb{};
    const bool leadA = ::fstatat(folder, a.c_str(), &sa, 0) == 0;
    const bool leadB = leadA && ::fstatat(folder, b.c_str(), &sb, 0) == 0;
    return IsSameFileFrom(a, leadA ? &sa : nullptr, b, leadB ? &sb : nullptr);
}

bool IsSameFileFrom(std::string_view a, const struct stat* followedA, std::string_view b,
                    const struct stat* followedB) {
    if (a == b)
        return true;
    return followedA != nullptr && followedB != nullptr && NodeOf(*followedA) == NodeOf(*followedB);
}

namespace {

unsigned OtherNamesFrom(int found, const struct stat& st) {
    return found == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1
               ? static_cast<unsigned>(st.st_nlink - 1)
               : 0;
}

bool ProcessRuns(long pid) {
    return pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

unsigned NameLook::OtherNames() const {
    return OtherNamesFrom(found ? 0 : -1, own);
}

NameLook LookAtName(int folder, const std::string& name) {
    NameLook look;
    look.found = ::fstatat(folder, name.c_str(), &look.own, AT_SYMLINK_NOFOLLOW) == 0;
    look.followed = look.own;
    look.leads = look.found;
    if (look.IsLink())
        look.leads = ::fstatat(folder, name.c_str(), &look.followed, 0) == 0;
    return look;
}

NameLook LookTaken(const struct stat& own) {
    NameLook look;
    look.found = look.leads = true;
    look.own = look.followed = own;
    return look;
}

bool IsDeadRunsTemporary(const std::string& name) {
    const long owner = TemporaryOwnerOf(name);
    return owner > 0 && !ProcessRuns(owner);
}

bool RemoveDeadRunsTemporary(int folder, const std::string& name) {
    return IsDeadRunsTemporary(name) && ::unlinkat(folder, name.c_str(), 0) == 0;
}

HeldSource::HeldSource(int folder, const std::string& name)
    : directory_(::openat(folder, ".", O_PATH | O_DIRECTORY | O_CLOEXEC)), name_(name) {}

bool HeldSource::Present() const {
    return directory_ >= 0 && IdentityAt(directory_, name_).known;
}

HeldSource::HeldSource(const std::string& path) : name_(NamePart(path)) {
    const std::string directory = DirectoryPart(path);
    directory_ =
        ::open(directory.empty() ? "." : directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

std::shared_ptr<HeldSource> HeldSource::InKeptFolder(int folder, const std::string& name) {
    std::shared_ptr<HeldSource> held(new HeldSource());
    held->directory_ = folder;
    held->ownsDirectory_ = false;
    held->name_ = name;
    return held;
}

HeldSource::~HeldSource() {
    if (directory_ >= 0 && ownsDirectory_)
        ::close(directory_);
}

bool HeldSource::Unchanged() const {
    return directory_ >= 0 && opened_.known && IdentityAt(directory_, name_) == opened_;
}

namespace {

// A descriptor on each file system a source was removed on since the last
// flush; none is kept after it, so nothing holds a removable disk busy.
std::mutex removalsLock;
std::map<uint64_t, int> removalsUnflushed;

// The folder's own device is the file's: a folder and its entries are on
// one file system, so no look is needed.
void NoteRemoval(int directory, uint64_t device) {
    const std::lock_guard<std::mutex> hold(removalsLock);
    if (removalsUnflushed.count(device) > 0)
        return;
    // The kept folder of a walk, or a folder held only as a place (O_PATH),
    // which can't be flushed through: a descriptor of its own either way.
    const int fd = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    removalsUnflushed.emplace(device, fd);
}

} // namespace

SourceRemoval HeldSource::RemoveIfUnchanged() {
    if (!Unchanged())
        return SourceRemoval::Changed;
    if (::unlinkat(directory_, name_.c_str(), 0) != 0)
        return SourceRemoval::Failed;
    NoteRemoval(directory_, opened_.node.device);
    return SourceRemoval::Removed;
}

bool MakeRemovalsDurable() {
    std::map<uint64_t, int> unflushed;
    {
        const std::lock_guard<std::mutex> hold(removalsLock);
        unflushed.swap(removalsUnflushed);
    }
    int failure = 0;
    for (const auto& [device, fd] : unflushed) {
        // No descriptor was left to open the folder again: every file
        // system is flushed instead, which reports no failure.
        if (fd < 0) {
            ::sync();
            continue;
        }
        if (!FlushFileSystem(fd) && failure == 0)
            failure = errno != 0 ? errno : EIO;
        ::close(fd);
    }
    errno = failure;
    return failure == 0;
}

} // namespace kelvane
