// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TreeWalk.h"

#include "crypto/CryptNames.h"
#include "platform/FileSafety.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

WalkFolder::WalkFolder(int descriptor, std::string path)
    : descriptor_(descriptor), path_(std::move(path)) {}

WalkFolder::~WalkFolder() {
    ::close(descriptor_);
}

std::string WalkFolder::PathOf(const std::string& name) const {
    return !path_.empty() && path_.back() == '/' ? path_ + name : path_ + "/" + name;
}

bool WalkVisitor::Listed(const WalkFolder&, std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

namespace {

class Walker {
public:
    explicit Walker(WalkVisitor& visitor) : visitor_(visitor) {}

    bool Start(const std::string& root) {
        const int fd = OpenWalkRoot(root);
        if (fd < 0)
            return false;
        auto folder = std::make_shared<WalkFolder>(fd, root);
        const FileNode identity = IdentityOf(fd);
        device_ = identity.device;
        visited_.insert(identity);
        return Walk(folder);
    }

private:
    // False, errno set, when the folder's listing could not be read.
    bool Walk(const std::shared_ptr<WalkFolder>& folder) {
        std::vector<FolderEntry> entries;
        if (!ReadFolderEntries(folder->Descriptor(), entries))
            return false;
        if (!visitor_.Listed(*folder, entries))
            return true;
        for (const FolderEntry& entry : entries) {
            if (!visitor_.Continue() || !Entry(folder, entry))
                return stopped_ = true;
            if (stopped_)
                return true;
        }
        return true;
    }

    // False ends the walk. The entry is looked at again now: its name may
    // have become a link, a FIFO or a folder since the listing was read.
    bool Entry(const std::shared_ptr<WalkFolder>& folder, const FolderEntry& listed) {
        FolderEntry entry{listed.name, EntryKind::Gone, {}, 0};
        entry.kind = EntryKindAt(folder->Descriptor(), entry.name, &entry.identity, &entry.size);
        if (IsTemporaryName(entry.name)) {
            RemoveDeadRunsTemporary(folder->Descriptor(), entry.name);
            return true;
        }
        switch (entry.kind) {
        case EntryKind::RegularFile:
            return visitor_.File(folder, entry);
        case EntryKind::Folder:
            if (visitor_.Recurse())
                Subfolder(folder, entry.name);
            return true;
        case EntryKind::SymbolicLink:
            Note(folder->PathOf(entry.name), WalkSkip::SymbolicLink);
            return true;
        case EntryKind::Special:
            Note(folder->PathOf(entry.name), WalkSkip::SpecialFile);
            return true;
        case EntryKind::Gone:
            break;
        }
        return true;
    }

    void Subfolder(const std::shared_ptr<WalkFolder>& parent, const std::string& name) {
        const std::string path = parent->PathOf(name);
        // Opened by descriptor without following a link: a folder swapped
        // for a link since it was listed is refused here, not entered.
        const int fd = ::openat(parent->Descriptor(), name.c_str(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const int error = errno;
            const EntryKind now = EntryKindAt(parent->Descriptor(), name);
            if (now == EntryKind::SymbolicLink)
                return Note(path, WalkSkip::SymbolicLink);
            if (now == EntryKind::Folder)
                Note(path, WalkSkip::Unreadable, error);
            return;
        }
        auto folder = std::make_shared<WalkFolder>(fd, path);
        // Looked at after the opening: a name swapped for a mount point
        // between the listing and the opening is still caught.
        switch (PlaceOf(parent->Descriptor(), fd, device_)) {
        case FolderPlace::OtherFileSystem:
            return Note(path, WalkSkip::OtherFileSystem);
        case FolderPlace::MountPoint:
            return Note(path, WalkSkip::MountPoint);
        case FolderPlace::SameMount:
            break;
        }
        // A folder moved by another program into a part still to come is
        // not walked twice.
        if (!visited_.insert(IdentityOf(fd)).second)
            return;
        if (!Walk(folder))
            Note(path, WalkSkip::Unreadable, errno);
        visitor_.Returned(*parent);
    }

    void Note(const std::string& path, WalkSkip reason, int error = 0) {
        visitor_.Skipped({path, reason, error});
    }

    WalkVisitor& visitor_;
    uint64_t device_ = 0;
    std::set<FileNode> visited_;
    bool stopped_ = false;
};

class Collector : public WalkVisitor {
public:
    Collector(WalkPick pick, WalkResult& result) : pick_(pick), result_(result) {}

    bool File(const std::shared_ptr<WalkFolder>& folder, const FolderEntry& entry) override {
        const bool crypted = HasCryExtension(entry.name);
        if ((pick_ == WalkPick::PlainFiles && crypted) ||
            (pick_ == WalkPick::CryptedFiles && !crypted))
            return true;
        result_.files.push_back(
            {folder->PathOf(entry.name), entry.size, entry.identity, folder, entry.name});
        return true;
    }

    void Skipped(const WalkNote& note) override { result_.skipped.push_back(note); }

private:
    WalkPick pick_;
    WalkResult& result_;
};

} // namespace

bool WalkTree(const std::string& root, WalkVisitor& visitor) {
    return Walker(visitor).Start(root);
}

WalkResult WalkTree(const std::string& root, WalkPick pick) {
    WalkResult result;
    Collector collector(pick, result);
    if (!WalkTree(root, collector)) {
        result.rootUnreadable = true;
        result.skipped.insert(result.skipped.begin(), {root, WalkSkip::Unreadable, errno});
    }
    return result;
}

std::string WalkSkipText(const WalkNote& note) {
    switch (note.reason) {
    case WalkSkip::SymbolicLink:
        return "a symbolic link, not followed";
    case WalkSkip::SpecialFile:
        return "not a regular file";
    case WalkSkip::OtherFileSystem:
        return "on another file system, not entered";
    case WalkSkip::MountPoint:
        return "a mount point, not entered";
    case WalkSkip::Unreadable:
        break;
    }
    return std::string("couldn't read the folder: ") + std::strerror(note.error);
}

} // namespace kelvane
