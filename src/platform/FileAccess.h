// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's only way to the disk, so tests can make a read come up short
// or the n-th write fail.
#pragma once

#include "platform/FileNode.h"

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <string>

namespace kelvane {

// Which file a name led to and what it held: a file that is replaced,
// written to, truncated or re-linked shows a different identity afterwards.
struct FileIdentity {
    bool known = false;
    FileNode node;
    int64_t size = 0;
    int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
    int64_t changedSeconds = 0, changedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// What `name` in the open directory `directory` is now, a symbolic link not
// followed; unknown when there is nothing of that name.
FileIdentity IdentityAt(int directory, const std::string& name);

class SourceFile {
public:
    virtual ~SourceFile() = default;
    virtual bool Size(int64_t& size) = 0;
    // Reads up to `count` bytes; returns how many arrived (fewer only at the
    // end of the file), or -1 on an error.
    virtual int64_t Read(void* buffer, std::size_t count) = 0;
    // The file's permission bits (rwx for owner, group, others), never the
    // set-id or sticky bits.
    virtual unsigned PermissionBits() = 0;
    // The file as it was when it was opened.
    virtual FileIdentity OpenedAs() = 0;
};

// Whether the final step may put the new file in the place of an existing one.
enum class Existing { Keep, Replace };

enum class CommitOutcome {
    Done,        // in place and confirmed on disk
    Failed,      // nothing changed: no new file, an older one untouched
    NameTaken,   // nothing changed: a file of that name exists and is kept
    Unconfirmed, // in place, but the disk did not confirm the directory entry
};

// A destination that exists under its name only once Commit() succeeds;
// destroying it uncommitted leaves no trace and any older file untouched.
class DestinationFile {
public:
    virtual ~DestinationFile() = default;
    virtual bool Write(const void* data, std::size_t count) = 0;
    // Writes at a byte offset, leaving the sequential position alone.
    virtual bool WriteAt(uint64_t offset, const void* data, std::size_t count) = 0;
    // Flushes the data to disk and puts the file in place in one step,
    // replacing an existing file of that name only when `existing` allows.
    virtual CommitOutcome Commit(Existing existing) = 0;
    // Replaces whatever is there; true only when done and confirmed.
    bool Commit() { return Commit(Existing::Replace) == CommitOutcome::Done; }

    // A group commit makes many files durable at once: it flushes the file
    // system of FileSystem() (a descriptor on it) once for all of them, then
    // puts each in place with PlaceFlushed(), then flushes once more before
    // any source may go. A destination without a file system of its own
    // (-1) commits itself in PlaceFlushed(), as Commit() does.
    virtual int FileSystem() const { return -1; }
    // What proves this destination's data durable: a descriptor on its file
    // system opened before any of its data was written, and when it was made
    // among this process's destinations (DestinationsMade()). Linux reports
    // a failed write-back once to each descriptor opened before it, so a
    // flush through a descriptor that was told already, or opened after the
    // data went to the disk, passes although the data never arrived.
    struct Witness {
        int descriptor = -1;
        uint64_t made = 0;
    };
    virtual Witness DataWitness() const { return {FileSystem(), 0}; }
    // Done: in place, durable once the file system is flushed again.
    virtual CommitOutcome PlaceFlushed(Existing existing) { return Commit(existing); }
    // The file being written, which keeps its identity when it takes its
    // name; all zero when not known. Asked once before the commit, it is
    // known after it too.
    virtual FileNode Node() { return {}; }
};

class FileAccess {
public:
    virtual ~FileAccess() = default;
    // Opens an existing regular file for reading; null when it can't. Never
    // blocks on a named pipe, and never follows a symbolic link in the
    // file's own place (ELOOP): a link swapped in for a file of the folder
    // would read a file from anywhere into it.
    virtual std::unique_ptr<SourceFile> OpenSource(const std::string& path) = 0;
    // Null when the destination can't be created (no such directory, no
    // permission, a directory or a write-protected file in the way). The file
    // has `permissions` before it first appears under any name, so data
    // protected by the source's permissions is never readable by others.
    virtual std::unique_ptr<DestinationFile> CreateDestination(const std::string& path,
                                                               unsigned permissions) = 0;
    // True when both paths name the same existing file, or are the same text.
    virtual bool SameFile(const std::string& a, const std::string& b) = 0;
};

// The real file system. Sources are opened for reading only: reading and
// deleting a file need no write permission on it.
FileAccess& SystemFiles();
// The same, but a symbolic link in a source's place is followed: for what
// is only read and never deleted or written beside, as the settings (often
// a link into a folder of dotfiles) and the header that `info` shows.
FileAccess& SystemFilesForReading();
// The real file system with relative names taken in the open folder
// `folder`, which must stay open while the result is used: a walk hands its
// files on this way, so no path is resolved again.
// What the caller already knows of the folder it writes in, so that the
// file access need not look again: over many small files each look is a
// sizeable share of a file's cost.
struct FolderFacts {
    // No file has the destination's name: the tests for the same file and
    // for a file in the way have nothing to find.
    bool destinationFree = false;
    // A walk that read the folder removed its dead temporaries already.
    bool temporariesCleared = false;
    // The file the source's name led to when it was looked at (all zero:
    // not known). A source that is another file by the time it is opened,
    // swapped in by someone who can write the folder, is refused (ESTALE).
    FileNode source;
};
std::unique_ptr<FileAccess> FilesIn(int folder, FolderFacts facts = {});

// A named temporary (CryptNames.h) stands in for the unnamed file where the file system has
// none, and for the moment of replacing an existing file. All of them are
// named ".<destination name>.<process id>.<random>.kelvane-tmp" beside the
// destination. Removes those of `destination` left by processes that no
// longer run; returns how many it removed.
// A relative `destination` is taken in the open folder `folder`.
int RemoveLeftoverTemporaries(const std::string& destination, int folder = AT_FDCWD);
// Forgets the folder readings that function keeps for a few seconds, so the
// next run reads each folder afresh.
void ForgetFolderReadings();

// Flushes the whole file system that `descriptor` is on; false, with errno
// set, when the disk reported a failure.
bool FlushFileSystem(int descriptor);
// How many destinations this process has made so far: a destination whose
// DataWitness().made is at most this was made before now.
uint64_t DestinationsMade();
// Lets a test make the n-th flush of the file system fail, as a disk whose
// write-back fails does; null puts the real flush back.
void FlushFileSystemForTesting(bool (*flush)(int descriptor));

// Makes every destination use a named temporary, as on a file system without
// unnamed files. Also switched on by KELVANE_NO_UNNAMED_TEMPORARY=1.
void UseNamedTemporaries(bool named);

} // namespace kelvane
