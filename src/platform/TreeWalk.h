// Collecting the files of a folder tree for a run over many files, with the
// rules every front end applies: symbolic links are never followed, another
// file system mounted inside the tree is not entered, and special files
// (FIFOs, sockets, devices) are passed over without being opened. The whole
// list is taken before any file is processed, so files the run creates are
// never picked up.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvane {

// Which regular files a walk keeps: the ".cry" test ignores case.
enum class WalkPick { PlainFiles, CryptedFiles, AllFiles };

struct WalkedFile {
    std::string path; // the root as given, joined with the names below it
    uint64_t size = 0;
    uint64_t device = 0, inode = 0;
};

enum class WalkSkip {
    SymbolicLink,
    SpecialFile,
    OtherFileSystem,
    Unreadable, // a folder that could not be opened or read
};

struct WalkNote {
    std::string path;
    WalkSkip reason;
    int error = 0; // errno for Unreadable
};

struct WalkResult {
    std::vector<WalkedFile> files; // depth-first, names in byte order
    std::vector<WalkNote> skipped;
    bool rootUnreadable = false;
};

// Walks the folder `root` and everything below it on the same file system.
WalkResult WalkTree(const std::string& root, WalkPick pick);

// "a symbolic link, not followed" and the like, for messages.
std::string WalkSkipText(const WalkNote& note);

} // namespace kelvane
