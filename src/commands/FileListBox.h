// SPDX-License-Identifier: GPL-3.0-or-later
// A sorted list of the names in one directory, with no widget behind it.
// The main window keeps three: the plain files, the crypted files as shown,
// and the files and folders the tree commands walk.
#pragma once

#include "platform/DirectoryWatch.h"
#include "platform/FolderEntries.h"

#include <memory>
#include <string>
#include <vector>

namespace kelvane {

// Orders names the way the lists show them: case-insensitively, and names
// that differ only in case by their bytes, so the order is always total.
bool NameLess(const std::string& a, const std::string& b);
bool SameNameIgnoringCase(const std::string& a, const std::string& b);
// Sorts names into NameLess order.
void SortNames(std::vector<std::string>& names);

class TFileListBox {
public:
    // What Update() takes from the directory besides regular files.
    enum class Contents { Files, Folders, FilesAndFolders };

    explicit TFileListBox(Contents contents = Contents::Files) : contents_(contents) {}

    // The directory the list reads; "." (the working directory) at first.
    const std::string& Directory() const { return directory_; }
    // Sets the directory and re-reads it.
    void SetDirectory(std::string directory);
    // The same, leaving Items as they are: the read is in Names().
    void ReadDirectory(std::string directory);

    // Re-reads the directory: regular files (also through symbolic links),
    // hidden ones included; or folders only; or both. Never "." and "..". Anything else (pipes,
    // sockets, devices) is left out: reading one could block the program. An unreadable directory
    // gives an empty list. A list read again watches its directory from then on, and later reads
    // look again only at the names that came or went (and at links, whose targets may have).
    void Update();
    // The same read, leaving Items as they are.
    void Read();
    // What the last read found, in NameLess order: what Update puts in Items.
    const std::vector<std::string>& Names() const { return read_; }
    // The subfolders the last read of a list of files passed over, in
    // NameLess order, so that a folder list of the same directory needs no
    // read of its own; empty for a list that takes folders itself.
    const std::vector<std::string>& Subfolders() const { return folders_; }

    // Watches the directory from the first read on, for a caller that
    // wants to hear of changes between reads.
    void WatchAlways() { watchAlways_ = true; }
    // Readable when the watched directory changed since the last read; -1
    // while it is not watched.
    int WatchDescriptor() const { return watch_ && watch_->Active() ? watch_->Descriptor() : -1; }

    // The folder the last read took its names from, held open so the files
    // behind the names are read there too; null when it could not be read.
    const std::shared_ptr<const OpenFolder>& Folder() const { return folder_; }

    int Count() const { return static_cast<int>(Items.size()); }
    // The index of the name, compared case-insensitively; -1 when absent.
    int IndexOf(const std::string& name) const;
    bool Contains(const std::string& name) const { return IndexOf(name) >= 0; }
    // Inserts the name at its sorted place.
    void Add(std::string name);
    void Delete(int index);
    void Clear() { Items.clear(); }

    // Kept sorted by NameLess.
    std::vector<std::string> Items;

private:
    void ReadInFull();
    bool TakeChanges();
    // Brings the entries of the names, sorted and unique, up to date with
    // the disk.
    void Reconsider(const std::vector<std::string>& sortedNames);
    enum class Kind { Other, File, Folder };
    // What the entry `name` of the directory is, links followed, and
    // whether it is a symbolic link.
    Kind KindOf(const std::string& name, bool& isLink) const;
    bool Wanted(Kind kind) const;
    // A folder that a list of files keeps aside in Subfolders.
    bool KeptAside(Kind kind) const { return kind == Kind::Folder && contents_ == Contents::Files; }
    // Stops the watch and keeps it aside for the next one to start.
    void DropWatch();

    Contents contents_;
    std::string directory_ = ".";
    std::shared_ptr<const OpenFolder> folder_;
    // What the last read found, in NameLess order, and the links among it.
    std::vector<std::string> read_;
    std::vector<std::string> folders_;
    std::vector<std::string> links_;
    bool haveRead_ = false;
    bool watchAlways_ = false;
    std::unique_ptr<DirectoryWatch> watch_;
    // A stopped watch, reused rather than made anew: retiring a watch's
    // instance makes the caller wait several milliseconds.
    std::unique_ptr<DirectoryWatch> spareWatch_;
};

} // namespace kelvane
