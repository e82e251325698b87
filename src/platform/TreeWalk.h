// SPDX-License-Identifier: GPL-3.0-or-later
// The one walk over a folder tree, for kelvane-cli's -r and the window's
// Encrypt All and Decrypt All alike. It works on descriptors from end to end:
// each folder is opened relative to its parent's open descriptor, never
// through a symbolic link, and each file is handed on as its open folder plus
// its name, so a folder renamed or swapped for a link after it was listed can
// never redirect the run. Symbolic links are not followed, mount points (of
// another file system or a bind mount of the same one) are not entered,
// special files are not opened, and the program's own temporaries are passed
// over, those of dead runs removed.
#pragma once

#include "platform/FolderEntries.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kelvane {

// A folder of a walk. It is open while a Hold on it lasts: the walk holds
// the folders it is in, a run each folder whose files it works on. Of the
// folders nobody holds, up to IdleWalkFoldersKept() stay open, and work
// goes on in them wherever they are moved; the others give their
// descriptors back, so a tree of more folders than the process may open is
// walked and worked on all the same. The next hold opens such a folder
// again through its parent, never through a link, and only when it is
// still the very folder the walk listed.
class WalkFolder {
public:
    // A walk's root, opened by the caller; it stays open while it exists.
    WalkFolder(int descriptor, std::string path);
    // `name` in `parent`, opened just now as `descriptor`.
    WalkFolder(std::shared_ptr<WalkFolder> parent, std::string name, int descriptor);
    ~WalkFolder();
    WalkFolder(const WalkFolder&) = delete;
    WalkFolder& operator=(const WalkFolder&) = delete;

    class Hold {
    public:
        Hold() = default;
        // Null when the folder could not be opened again, errno set: ESTALE
        // when another folder is in its place now.
        explicit Hold(std::shared_ptr<WalkFolder> folder);
        Hold(const Hold& other);
        Hold& operator=(Hold other);
        ~Hold();
        explicit operator bool() const { return folder_ != nullptr; }
        WalkFolder* operator->() const { return folder_.get(); }
        const std::shared_ptr<WalkFolder>& Folder() const { return folder_; }

    private:
        std::shared_ptr<WalkFolder> folder_;
    };

    // Open only while a Hold lasts.
    int Descriptor() const { return descriptor_; }
    const FileNode& Identity() const { return identity_; }
    // The root as given joined with the names below it: for messages and
    // the window's folder list, never for opening anything.
    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const;

private:
    bool Take();
    void Give();
    bool idle_ = false; // open, though nobody holds it

    std::shared_ptr<WalkFolder> parent_; // null for the root
    std::string name_;                   // in the parent
    std::string path_;
    FileNode identity_;
    std::mutex lock_;
    int descriptor_;
    unsigned holds_ = 0;
};

enum class WalkSkip {
    SymbolicLink,
    SpecialFile,
    OtherFileSystem,
    MountPoint, // a bind mount or another mount of the walk's own file system
    Unreadable, // a folder that could not be opened or read
};

struct WalkNote {
    std::string path;
    WalkSkip reason;
    int error = 0; // errno for Unreadable
};

// What a front end does with the walk. Every call is made on the thread that
// called WalkTree, between two entries.
class WalkVisitor {
public:
    virtual ~WalkVisitor() = default;
    // The folder's entries as read on entering it. The visitor may put them
    // in its own order; the default is byte order. False leaves the folder.
    virtual bool Listed(const WalkFolder& folder, std::vector<FolderEntry>& entries);
    // Before each entry; false ends the walk.
    virtual bool Continue() { return true; }
    // Whether subfolders are entered at all.
    virtual bool Recurse() const { return true; }
    // A regular file, looked at again just now (`looked`: that look); false
    // ends the walk.
    virtual bool File(const std::shared_ptr<WalkFolder>& folder, const FolderEntry& entry,
                      const struct stat& looked) = 0;
    // Back in `folder` after the walk of one of its subfolders.
    virtual void Returned(const WalkFolder& folder) { (void)folder; }
    virtual void Skipped(const WalkNote& note) { (void)note; }
};

// Walks `root` and everything below it. False, with errno set, when the root
// itself can't be opened or read.
bool WalkTree(const std::string& root, WalkVisitor& visitor);

// Which regular files a collecting walk keeps: the ".cry" test ignores case.
enum class WalkPick { PlainFiles, CryptedFiles, AllFiles };

struct WalkedFile {
    std::string path; // for messages only
    uint64_t size = 0;
    FileNode node;
    std::shared_ptr<WalkFolder> folder; // where `name` is opened
    std::string name;
};

struct WalkResult {
    std::vector<WalkedFile> files; // depth-first, names in byte order
    std::vector<WalkNote> skipped;
    bool rootUnreadable = false;
};

// The whole list of a tree's files, taken before any is processed, so files
// the run creates are never picked up.
WalkResult WalkTree(const std::string& root, WalkPick pick);

// The same walk, each file handed on as soon as it is found; `file` returning
// false ends the walk. Each folder is listed whole on entering it, before any
// of its files is handed on, so work on those files can already go on: what
// it creates there comes after the listing, and no folder is listed twice.
// False, with errno set, when the root can't be opened or read.
bool WalkTree(const std::string& root, WalkPick pick, const std::function<bool(WalkedFile&&)>& file,
              const std::function<void(const WalkNote&)>& note);

// How many folders that nobody holds stay open: an eighth of the
// process's limit of open files.
std::size_t IdleWalkFoldersKept();

// "a symbolic link, not followed" and the like, for messages.
std::string WalkSkipText(const WalkNote& note);

} // namespace kelvane
