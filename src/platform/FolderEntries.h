// SPDX-License-Identifier: GPL-3.0-or-later
// One folder's entries as a walk over a tree sees them, looked at without
// following symbolic links, and the one way such a walk enters a subfolder:
// by its descriptor, never through a link, never onto another file system.
#pragma once

#include "platform/FileNode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace kelvane {

enum class EntryKind {
    RegularFile,
    Folder,
    SymbolicLink, // to anything: never followed
    Special,      // FIFO, socket, device: never opened
    Gone,         // removed since the names were read
};

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Gone;
    FileNode identity;
    uint64_t size = 0;
};

// A folder held open, so that whoever reads names from it and whoever later
// reads those names' files read the very same folder, whatever happens to
// its path meanwhile.
class OpenFolder {
public:
    // Null, errno set, when `path` is no folder that can be read.
    static std::shared_ptr<const OpenFolder> Open(const std::string& path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int Descriptor() const { return fd_; }
    FileNode Identity() const { return identity_; }

private:
    OpenFolder(int fd, FileNode identity) : fd_(fd), identity_(identity) {}
    int fd_;
    FileNode identity_;
};

// What the name inside the open folder `folder` is now, links not followed.
// The same look, all of it kept in `looked` (the link's own, never what it
// leads to), for a caller that would otherwise look again at once.
EntryKind LookAtEntry(int folder, const std::string& name, struct stat& looked);
EntryKind EntryKindAt(int folder, const std::string& name, FileNode* identity = nullptr,
                      uint64_t* size = nullptr);

// The names in the open folder `folder`, "." and ".." left out, each with its
// kind; the identity is filled in only where the listing gave no kind and
// the name had to be looked at. False, with errno set, when the folder
// can't be read.
bool ReadFolderEntries(int folder, std::vector<FolderEntry>& entries);

// Calls `visit` with the name of every entry of the open folder `folder`
// but "." and "..", and the type the listing gives (a DT_ value). False,
// errno set, when the folder could not be read to its end.
bool ForEachEntryName(int folder,
                      const std::function<void(std::string_view, unsigned char)>& visit);

// Opens a folder for a walk: the path itself must be a folder. -1 with errno
// set when it is not.
int OpenWalkRoot(const std::string& path);

// Opens the subfolder `name` of the open folder `parent` for reading, but
// only when it is a real folder (not a link to one) on `device` and no mount
// point. -1 when it is not (errno EXDEV for a mount point) or can't be opened.
int OpenSubfolder(int parent, const std::string& name, uint64_t device);

enum class FolderPlace { SameMount, OtherFileSystem, MountPoint };

// Where the open folder `child` lies as seen from the open folder `parent`
// of the walk on `device`. A bind mount shares its device with the folder it
// is mounted on, so the mount ids tell; the device alone would not.
FolderPlace PlaceOf(int parent, int child, uint64_t device);

// The id of the mount an open file or folder lies on; 0 when unknown.
uint64_t MountIdOf(int fd);

} // namespace kelvane
