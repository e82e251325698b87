// SPDX-License-Identifier: GPL-3.0-or-later
// The files decrypted for an application to use, recorded on disk for as
// long as they are out: a run that ends before it could encrypt them again
// (killed, the machine stopped) leaves the record, and the next run names the
// files to the user. One line per file, the process id and the full path, in
// $XDG_STATE_HOME/kelvane/decrypted-files (XDG default ~/.local/state).
#pragma once

#include <string>
#include <vector>

namespace kelvane {

// Empty when there is no home to put it in.
std::string DefaultJournalPath();

struct JournalEntry {
    long process = 0; // the run that decrypted the file
    std::string path;
    bool operator==(const JournalEntry&) const = default;
};

// The entries recorded, oldest first; none for a missing journal.
std::vector<JournalEntry> ReadJournal(const std::string& journal);
// Whether the run that made an entry is still running (and may still be
// watching its file).
bool RunStillGoing(const JournalEntry& entry);
// Entries of this process. Each change replaces the journal in one step
// (temporary file beside it, flush, rename); false when it could not be
// written.
bool AddToJournal(const std::string& journal, const std::string& plainPath);
bool RemoveFromJournal(const std::string& journal, const std::string& plainPath);

} // namespace kelvane
