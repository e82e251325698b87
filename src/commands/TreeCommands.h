// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypt All and Decrypt All: every suitable file of the open folder, and on
// request of every folder below it, handed one after another to the
// single-file commands while the folder list follows the walk.
#pragma once

#include "commands/FileListBox.h"
#include "commands/GridTerms.h"
#include "crypto/Translate.h"
#include "engine/CommitBatch.h"
#include "engine/Direction.h"

#include <cstdint>
#include <string>

namespace kelvane {

inline constexpr const char* kSearchingText =
    KELVANE_TR_NOOP("Status", "Processing search for files...");
// "subdirectoryes" keeps its spelling: users and scripts match the question
// as the program has always asked it.
//: "subdirectoryes" stays misspelled in English only; spell the translation correctly.
inline constexpr const char* kRecurseQuestion =
    KELVANE_TR_NOOP("TreeCommands", "Recurse subdirectoryes?");

// What a walk needs of the main window.
class TreeHost {
public:
    virtual ~TreeHost() = default;
    // Around the walk: the window may put off work it does after every file.
    virtual void SetWalking(bool walking) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    // The warning that a password will be asked for every file: OK, Cancel,
    // or Yes for the preferences.
    virtual int ShowPasswordPrompt() = 0;
    virtual void RunPreferences() = 0;
    // "Cancel process" alone, without the bars.
    virtual void ShowCancelButton(bool visible) = 0;
    // The folder open in the folder list.
    virtual std::string OpenDirectory() const = 0;
    // Opens the folder in the folder list, which makes it the working
    // directory too. False when it can't be entered.
    virtual bool ShowDirectory(const std::string& directory) = 0;
    // True when the folder list still shows `directory` as ShowDirectory
    // left it, highlight and all: the walk's next file in the same folder
    // then need not enter it by its path again.
    virtual bool StillShows(const std::string& directory) const {
        (void)directory;
        return false;
    }
    // The walk's own hidden list of the folder it has just entered.
    virtual TFileListBox& FileListBox3() = 0;
    // Lets pending window events run: repainting, "Cancel process".
    virtual void LetEventsRun() = 0;
    // Whether LetEventsRun would run them now rather than wait for its time.
    virtual bool EventsDue() const { return true; }
    virtual bool EncryptOneFile(const std::string& name) = 0;
    virtual bool DecryptOneFile(const std::string& name) = 0;
    virtual void RefreshLists() = 0;
};

// The whole command, from the busy test to the final refresh.
void RunTreeCommand(TreeHost& host, Direction direction);

// Walks the folder whose full path is `directory`, and the folders below it
// when `recurse` is set. False when the folder itself could not be read
// (errno tells why); folders below it that can't be read are passed over
// without a word.
bool WalkDirectory(TreeHost& host, const std::string& directory, Direction direction, bool recurse);

// "Couldn't read folder ...": what the user is told when the walk can't
// even start.
std::string UnreadableStartText(const std::string& directory, int error);

} // namespace kelvane
