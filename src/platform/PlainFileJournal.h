// SPDX-License-Identifier: GPL-3.0-or-later
// The files decrypted for an application to use, recorded on disk for as
// long as they are out: a run that ends before it could encrypt them again
// (killed, the machine stopped) leaves the record, and the next run names the
// files to the user. It lives in $XDG_STATE_HOME/kelvane/decrypted-files (XDG
// default ~/.local/state), one line per file:
//
//     @ PROCESS DEVICE INODE SIZE CRYPTED PLAIN
//
// the run that decrypted the file, the plain file as the run wrote it
// ("-" for each until it is written), the crypted file it came from and the
// plain file, both paths escaped so that they hold no space or line feed
// ("\\", "\s", "\n"). Earlier versions wrote "PROCESS PLAIN" and nothing to
// tell their file by; such lines are still read.
#pragma once

#include "platform/FileNode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

// Empty when there is no home to put it in.
std::string DefaultJournalPath();

struct JournalEntry {
    long process = 0; // the run that decrypted the file
    std::string path; // the plain file
    // The crypted file it was decrypted from; empty in an earlier version's line.
    std::string crypted;
    // The plain file as the run wrote it, once it was written.
    bool written = false;
    FileNode node;
    int64_t size = 0;
    bool operator==(const JournalEntry&) const = default;
};

enum class JournalState {
    Missing, // nothing out
    Read,
    // Not a record this program keeps: a link, a named pipe or another kind
    // of file, another user's file, or too large. Never read (opening a
    // named pipe for reading would wait for a writer).
    NotOurs,
};

struct JournalContents {
    JournalState state = JournalState::Missing;
    std::vector<JournalEntry> entries; // oldest first
};

JournalContents ReadJournalContents(const std::string& journal);
// The entries alone; none for a missing journal or one that is not ours.
std::vector<JournalEntry> ReadJournal(const std::string& journal);

// Whether the run that made an entry is still running (and may still be
// watching its file).
bool RunStillGoing(const JournalEntry& entry);

enum class EntryCheck {
    Ours,    // the very file the run wrote, reached without a link
    Gone,    // no regular file of that name any more
    NotOurs, // a file is there, but nothing shows it is the one the run wrote
};
// Whether the plain file of an entry is still the one its run wrote: the
// same device, inode and size, its path an absolute one through no symbolic
// link. An entry that never recorded the file written (an earlier version's,
// or a run killed before it could) is never shown to be ours.
EntryCheck CheckJournalEntry(const JournalEntry& entry);

// Entries of this process. Each change replaces the journal in one step
// (temporary file beside it, flush, rename); false when it could not be
// written.
// Recorded before the plain file exists, so a run killed at any later
// moment leaves the record.
bool AddToJournal(const std::string& journal, const std::string& plainPath,
                  const std::string& cryptedPath);
// Records the plain file as it is now, just written.
bool NoteWrittenFile(const std::string& journal, const std::string& plainPath);
bool RemoveFromJournal(const std::string& journal, const std::string& plainPath);
// Takes these entries out in one rewrite, keeping whatever else is there
// now (another window may have added its own files meanwhile).
bool RemoveFromJournal(const std::string& journal, const std::vector<JournalEntry>& entries);

} // namespace kelvane
