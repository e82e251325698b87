// The engine's only way to the disk, so tests can make a read come up short
// or the n-th write fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kelvane {

class SourceFile {
public:
    virtual ~SourceFile() = default;
    virtual bool Size(int64_t& size) = 0;
    // Reads up to `count` bytes; returns how many arrived (fewer only at the
    // end of the file), or -1 on an error.
    virtual int64_t Read(void* buffer, std::size_t count) = 0;
    // The file's permission bits (rwx for owner, group, others).
    virtual unsigned PermissionBits() = 0;
};

// A destination that exists under its name only once Commit() succeeds;
// destroying it uncommitted leaves no trace and any older file untouched.
class DestinationFile {
public:
    virtual ~DestinationFile() = default;
    virtual bool Write(const void* data, std::size_t count) = 0;
    // Writes at a byte offset, leaving the sequential position alone.
    virtual bool WriteAt(uint64_t offset, const void* data, std::size_t count) = 0;
    // Flushes the data to disk and puts the file in place, replacing an
    // existing file of that name in one step.
    virtual bool Commit() = 0;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;
    // Opens an existing file for reading and writing; null when it can't.
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

// The real file system. Sources are opened for reading and writing, so a
// write-protected source is refused as the desktop program expects.
FileAccess& SystemFiles();
// The same, with sources opened for reading only: for checks that write nothing.
FileAccess& SystemFilesForReading();

} // namespace kelvane
