// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderEntries.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#ifndef STATX_MNT_ID
#define STATX_MNT_ID 0x1000U
#endif

namespace kelvane {
namespace {

EntryKind KindFrom(mode_t mode) {
    if (S_ISLNK(mode))
        return EntryKind::SymbolicLink;
    if (S_ISREG(mode))
        return EntryKind::RegularFile;
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    return EntryKind::Special;
}

// Kernels before 5.8 have no mount id in statx; /proc shows it for every
// open descriptor since 3.15.
uint64_t MountIdFromFdInfo(int fd) {
    const std::string path = "/proc/self/fdinfo/" + std::to_string(fd);
    std::FILE* info = std::fopen(path.c_str(), "re");
    if (info == nullptr)
        return 0;
    char line[256];
    uint64_t id = 0;
    constexpr std::string_view kLabel = "mnt_id:";
    while (std::fgets(line, sizeof line, info) != nullptr) {
        const std::string_view text(line);
        if (text.substr(0, kLabel.size()) != kLabel)
            continue;
        const char* digits = line + kLabel.size();
        while (*digits == ' ' || *digits == '\t')
            ++digits;
        if (std::from_chars(digits, line + text.size(), id).ec != std::errc())
            id = 0;
        break;
    }
    static_cast<void>(std::fclose(info)); // opened for reading: nothing is lost
    return id;
}

// The kind the folder's listing gives, where the file system gives one:
// Gone when it does not (DT_UNKNOWN) and the name must be looked at. A walk
// looks at each entry again before it uses it, so a second look here would
// only double the cost of a folder of many files.
EntryKind KindFromListing(unsigned char type) {
    switch (type) {
    case DT_REG:
        return EntryKind::RegularFile;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
        return EntryKind::SymbolicLink;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK:
        return EntryKind::Special;
    default:
        return EntryKind::Gone;
    }
}

} // namespace

std::shared_ptr<const OpenFolder> OpenFolder::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return nullptr;
    }
    return std::shared_ptr<const OpenFolder>(new OpenFolder(fd, NodeOf(st)));
}

OpenFolder::~OpenFolder() {
    ::close(fd_);
}

EntryKind LookAtEntry(int folder, const std::string& name, struct stat& looked) {
    if (::fstatat(folder, name.c_str(), &looked, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Gone;
    return KindFrom(looked.st_mode);
}

EntryKind EntryKindAt(int folder, const std::string& name, FileNode* identity, uint64_t* size) {
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Gone;
    if (identity != nullptr)
        *identity = NodeOf(st);
    if (size != nullptr)
        *size = static_cast<uint64_t>(st.st_size);
    return KindFrom(st.st_mode);
}

bool ForEachEntryName(int folder,
                      const std::function<void(std::string_view, unsigned char)>& visit) {
    // A descriptor of its own, so the caller's position in the folder, if
    // it reads it too, is never moved. The records are read as the kernel
    // lays them out: readdir would first look at the descriptor twice. The
    // buffer is left as it comes, so only the pages the kernel writes to
    // are ever touched; on the stack, the probes against stack clashes
    // would touch every page of it.
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return false;
    constexpr std::size_t kBufferBytes = 32768;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferBytes);
    ssize_t got = 0;
    while ((got = ::getdents64(listing, buffer.get(), kBufferBytes)) > 0) {
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.get() + at);
            at += entry->d_reclen;
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..")
                visit(name, entry->d_type);
        }
    }
    const int error = errno;
    ::close(listing);
    errno = error;
    return got == 0;
}

bool ReadFolderEntries(int folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    return ForEachEntryName(folder, [&](std::string_view name, unsigned char type) {
        FolderEntry item{std::string(name), KindFromListing(type), {}};
        if (item.kind == EntryKind::Gone)
            item.kind = EntryKindAt(folder, item.name, &item.identity);
        if (item.kind != EntryKind::Gone)
            entries.push_back(std::move(item));
    });
}

int OpenWalkRoot(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
}

int OpenSubfolder(int parent, const std::string& name, uint64_t device) {
    const int fd = ::openat(parent, name.c_str(),
                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    // Looked at after the opening: a name swapped for a mount point between
    // a look and the opening is still caught.
    if (PlaceOf(parent, fd, device) != FolderPlace::SameMount) {
        ::close(fd);
        errno = EXDEV;
        return -1;
    }
    return fd;
}

FolderPlace PlaceOf(int parent, int child, uint64_t device) {
    if (IdentityOf(child).device != device)
        return FolderPlace::OtherFileSystem;
    const uint64_t parentMount = MountIdOf(parent);
    // Without a mount id for both, the device test above is all there is.
    return parentMount != 0 && MountIdOf(child) != parentMount ? FolderPlace::MountPoint
                                                               : FolderPlace::SameMount;
}

uint64_t MountIdOf(int fd) {
    struct statx st {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &st) == 0 &&
        (st.stx_mask & STATX_MNT_ID) != 0)
        return st.stx_mnt_id;
    return MountIdFromFdInfo(fd);
}

FileNode IdentityOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    return NodeOf(st);
}

} // namespace kelvane
