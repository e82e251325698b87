// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TreeWalk.h"

#include "crypto/CryptNames.h"
#include "crypto/Translate.h"
#include "platform/ErrorText.h"
#include "platform/FileSafety.h"
#include "platform/ProcessLimits.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

WalkFolder::WalkFolder(int descriptor, std::string path)
    : path_(std::move(path)), identity_(IdentityOf(descriptor)), descriptor_(descriptor) {}

WalkFolder::WalkFolder(std::shared_ptr<WalkFolder> parent, std::string name, int descriptor)
    : parent_(std::move(parent)), name_(std::move(name)), path_(parent_->PathOf(name_)),
      identity_(IdentityOf(descriptor)), descriptor_(descriptor) {}

namespace {
std::atomic<std::size_t> idleFoldersOpen{0};
} // namespace

std::size_t IdleWalkFoldersKept() {
    static const std::size_t kept = OpenFilesAllowed() / 8;
    return kept;
}

WalkFolder::~WalkFolder() {
    if (idle_)
        idleFoldersOpen.fetch_sub(1);
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

// The parent is held only while the folder is opened in it.
bool WalkFolder::Take() {
    const std::lock_guard<std::mutex> hold(lock_);
    if (descriptor_ < 0) {
        const Hold parent(parent_);
        if (!parent)
            return false;
        const int fd = ::openat(parent->Descriptor(), name_.c_str(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return false;
        if (IdentityOf(fd) != identity_) {
            ::close(fd);
            errno = ESTALE;
            return false;
        }
        descriptor_ = fd;
    } else if (idle_) {
        idle_ = false;
        idleFoldersOpen.fetch_sub(1);
    }
    ++holds_;
    return true;
}

void WalkFolder::Give() {
    const std::lock_guard<std::mutex> hold(lock_);
    if (--holds_ > 0 || parent_ == nullptr)
        return;
    if (idleFoldersOpen.fetch_add(1) < IdleWalkFoldersKept()) {
        idle_ = true;
        return;
    }
    idleFoldersOpen.fetch_sub(1);
    ::close(descriptor_);
    descriptor_ = -1;
}

WalkFolder::Hold::Hold(std::shared_ptr<WalkFolder> folder) : folder_(std::move(folder)) {
    if (folder_ != nullptr && !folder_->Take())
        folder_.reset();
}

WalkFolder::Hold::Hold(const Hold& other) : folder_(other.folder_) {
    if (folder_ != nullptr) {
        const std::lock_guard<std::mutex> hold(folder_->lock_);
        ++folder_->holds_; // open already: `other` holds it
    }
}

WalkFolder::Hold& WalkFolder::Hold::operator=(Hold other) {
    std::swap(folder_, other.folder_);
    return *this;
}

WalkFolder::Hold::~Hold() {
    if (folder_ != nullptr)
        folder_->Give();
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
        device_ = folder->Identity().device;
        visited_.insert(folder->Identity());
        return Walk(WalkFolder::Hold(folder));
    }

private:
    // False, errno set, when the folder's listing could not be read. The
    // folder is held while it is walked, and only then.
    bool Walk(const WalkFolder::Hold& held) {
        const std::shared_ptr<WalkFolder>& folder = held.Folder();
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
        struct stat looked {};
        entry.kind = LookAtEntry(folder->Descriptor(), entry.name, looked);
        if (entry.kind != EntryKind::Gone) {
            entry.identity = NodeOf(looked);
            entry.size = static_cast<uint64_t>(looked.st_size);
        }
        if (IsTemporaryName(entry.name)) {
            RemoveDeadRunsTemporary(folder->Descriptor(), entry.name);
            return true;
        }
        switch (entry.kind) {
        case EntryKind::RegularFile:
            return visitor_.File(folder, entry, looked);
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
        auto folder = std::make_shared<WalkFolder>(parent, name, fd);
        const WalkFolder::Hold held(folder);
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
        if (!visited_.insert(folder->Identity()).second)
            return;
        if (!Walk(held))
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
    Collector(WalkPick pick, const std::function<bool(WalkedFile&&)>& file,
              const std::function<void(const WalkNote&)>& note)
        : pick_(pick), file_(file), note_(note) {}

    bool File(const std::shared_ptr<WalkFolder>& folder, const FolderEntry& entry,
              const struct stat&) override {
        const bool crypted = HasCryExtension(entry.name);
        if ((pick_ == WalkPick::PlainFiles && crypted) ||
            (pick_ == WalkPick::CryptedFiles && !crypted))
            return true;
        return file_({folder->PathOf(entry.name), entry.size, entry.identity, folder, entry.name});
    }

    void Skipped(const WalkNote& note) override { note_(note); }

private:
    WalkPick pick_;
    const std::function<bool(WalkedFile&&)>& file_;
    const std::function<void(const WalkNote&)>& note_;
};

} // namespace

bool WalkTree(const std::string& root, WalkVisitor& visitor) {
    return Walker(visitor).Start(root);
}

WalkResult WalkTree(const std::string& root, WalkPick pick) {
    WalkResult result;
    if (!WalkTree(
            root, pick,
            [&result](WalkedFile&& file) {
                result.files.push_back(std::move(file));
                return true;
            },
            [&result](const WalkNote& note) { result.skipped.push_back(note); })) {
        result.rootUnreadable = true;
        result.skipped.insert(result.skipped.begin(), {root, WalkSkip::Unreadable, errno});
    }
    return result;
}

bool WalkTree(const std::string& root, WalkPick pick, const std::function<bool(WalkedFile&&)>& file,
              const std::function<void(const WalkNote&)>& note) {
    Collector collector(pick, file, note);
    return WalkTree(root, collector);
}

std::string WalkSkipText(const WalkNote& note) {
    switch (note.reason) {
    case WalkSkip::SymbolicLink:
        // TRANSLATORS: why a walk passed over a file or folder, after its
        // name: "skipped "NAME": a symbolic link, not followed".
        return Tr("TreeWalk", "a symbolic link, not followed");
    case WalkSkip::SpecialFile:
        return Tr("TreeWalk", "not a regular file");
    case WalkSkip::OtherFileSystem:
        return Tr("TreeWalk", "on another file system, not entered");
    case WalkSkip::MountPoint:
        return Tr("TreeWalk", "a mount point, not entered");
    case WalkSkip::Unreadable:
        break;
    }
    // TRANSLATORS: %1 is the system's reason.
    return FormatText(Tr("TreeWalk", "couldn't read the folder: %1"), {ErrorText(note.error)});
}

} // namespace kelvane
