// SPDX-License-Identifier: GPL-3.0-or-later
// The state the file commands and the main window share for the whole run.
// Everything here is touched on the window's thread only.
#pragma once

#include "crypto/Secret.h"
#include "engine/CommitBatch.h"
#include "engine/CryptFile.h"
#include "platform/FileNode.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace kelvane {

class RunAhead;

// A crypted file that was decrypted and handed to its application, waiting
// to be encrypted again once the application lets go of it.
struct OpenFileSlot {
    std::string Name;      // the plain name, relative to the working directory
    std::string Directory; // that working directory, kept in case the user moves on
    bool LockSeen = false;
    bool InUse = false;
    int64_t Process = 0; // the launched process; 0 when there is none to watch
    int QuietPasses = 0; // passes since the process ended with the file held by none
};

constexpr int kOpenFileSlots = 21;

// What a walk lends the step of the file it hands over, for as long as the
// single-file command of that file runs.
struct WalkHandOver {
    // Where the engine's run may be made while the walk goes on.
    RunAhead* ahead = nullptr;
    // The walk's descriptor of the folder the file is in, open until the
    // file's batch has settled: its step names the file through it.
    int folder = -1;
    // The walk's look at the file, by its name in the folder, when nothing
    // has run since that could have changed it: its step need not look again.
    const std::string* name = nullptr;
    const struct stat* look = nullptr;
    // Where the step notes the new file once its batch has put it in place,
    // so the walk knows it as its own without looking.
    std::shared_ptr<FileNode> made;
};

struct ShellHooks {
    // Replaces the host's pause between two passes of the watch when set.
    std::function<void()> waitBetweenPasses;
};

// The contents page of the help; the other pages lie beside it.
inline constexpr const char* kHelpFileName = "help/index.html";

// Every value the commands and the windows share, in one object, so that one
// assignment of a fresh object puts all of it back and nothing added later
// can be missed. It lives with the commands, the lowest layer that owns all
// of it; the engine's own part (the cancel flag, its default hooks) is
// EngineState one layer down, which the engine may use without seeing the
// commands, and ResetSharedState resets it too. The windows keep nothing of
// their own here: the forms are created and destroyed with the main window,
// and the window's event pacing has its reset beside it (ui/WindowState.h).
// State that only one command needs stays inside that command.
struct SharedState {
    // One command of each kind at a time: every file command tests Busy()
    // first.
    bool EncryptBusy = false; // a single-file encryption runs
    bool DecryptBusy = false; // a single-file decryption runs
    bool TreeBusy = false;    // an Encrypt All / Decrypt All walk runs
    bool DeleteBusy = false;  // a deletion runs
    // An Encrypt or Decrypt run on a grid's selection, a drop included;
    // cleared while one of its files is handled, as TreeBusy is, since the
    // single-file commands refuse to run while any command is busy.
    bool SelectionBusy = false;

    // A selection of more than one file is processing its first file.
    bool FirstOfList = false;
    // A run over several files (a selection of more than one row, a drop,
    // Encrypt All, Decrypt All) is under way, the handling of its files
    // included. A password dialog cancelled within it offers to stop the
    // whole run.
    bool RunOfFiles = false;

    // The key check refused the remembered password. It is not handed on
    // again until the user has been asked for a password.
    bool PasswordRefused = false;
    // A password accepted under the OnePassword preference, kept for the run.
    bool HavePassword = false;
    SecretString RememberedPassword;
    // Seconds counted by the main window's PwdTimer since the last password
    // was accepted.
    int32_t PwdTicks = 0;
    // How many commands that may hand the remembered password on are under
    // way, nested ones included (PasswordUse).
    int32_t PasswordUses = 0;

    // The preferences, 0 until loaded. A flag is on when greater than 0;
    // Expire is minutes, 0 meaning never. Values are used as loaded, in range
    // or not.
    int32_t ShowCry = 0;
    int32_t OnePassword = 0;
    int32_t OnePerList = 0;
    int32_t Expire = 0;
    // The same as loaded or last saved: a save writes only what this run
    // changed, so a value another window saved meanwhile stays.
    struct {
        int32_t ShowCry = 0;
        int32_t OnePassword = 0;
        int32_t OnePerList = 0;
        int32_t Expire = 0;
    } SavedPreferences;
    // The help file: the installation directory (from the "DefaultIcon" of
    // the crypted-file type) followed by the contents page; the contents page
    // alone until loaded.
    std::string HelpFile = kHelpFileName;
    // The user was told that the settings file could not be read in full;
    // said once per run.
    bool toldSettingsKept = false;

    // Set after a double-click command; the next click on a grid clears it.
    bool DoubleClicked = false;

    // The files out for their applications, and how many of the slots are
    // taken.
    std::array<OpenFileSlot, kOpenFileSlots> OpenFiles{};
    int32_t OpenCount = 0;
    ShellHooks shellHooks;
    // Only the outermost caller watches the open files; nested ones add
    // their files to it.
    bool WatchRunning = false;

    // The batch the files of a run over many files are committed in, while
    // a CommitInBatches lasts.
    CommitBatch* BatchInUse = nullptr;
    // The key the files of that run are enciphered under, made at its first
    // file and again only when the password changes: a small file costs
    // less than its key's schedule.
    std::shared_ptr<const RunKey>* KeyInUse = nullptr;
    // What a walk hands over with the next file it gives the single-file
    // commands; taken by that file's step alone.
    WalkHandOver NextWalkFile;

    // When a walk's batch of new files is committed: until then a file's
    // source stays in the lists and its new file is not yet there. Smaller
    // than a command-line run's, so the lists move every quarter second.
    BatchLimits WalkBatchLimits{256, int64_t{64} << 20, std::chrono::milliseconds(250)};
    // The disk's flushes go on behind the walk; what they mean for each file
    // (its messages, its source's deletion, the lists) is told on the
    // window's own thread, between two files.
    CommitBatch::Where WalkCommits = CommitBatch::Where::BackgroundSettledByFiller;
};
extern SharedState TheSharedState;

// The names the program uses for the parts.
inline BatchLimits& WalkBatchLimits = TheSharedState.WalkBatchLimits;
inline CommitBatch::Where& WalkCommits = TheSharedState.WalkCommits;
inline bool& EncryptBusy = TheSharedState.EncryptBusy;
inline bool& DecryptBusy = TheSharedState.DecryptBusy;
inline bool& TreeBusy = TheSharedState.TreeBusy;
inline bool& DeleteBusy = TheSharedState.DeleteBusy;
inline bool& SelectionBusy = TheSharedState.SelectionBusy;
inline bool& FirstOfList = TheSharedState.FirstOfList;
inline bool& RunOfFiles = TheSharedState.RunOfFiles;
inline bool& PasswordRefused = TheSharedState.PasswordRefused;
inline bool& HavePassword = TheSharedState.HavePassword;
inline SecretString& RememberedPassword = TheSharedState.RememberedPassword;
inline int32_t& PwdTicks = TheSharedState.PwdTicks;
inline int32_t& PasswordUses = TheSharedState.PasswordUses;
inline int32_t& ShowCry = TheSharedState.ShowCry;
inline int32_t& OnePassword = TheSharedState.OnePassword;
inline int32_t& OnePerList = TheSharedState.OnePerList;
inline int32_t& Expire = TheSharedState.Expire;
inline std::string& HelpFile = TheSharedState.HelpFile;
inline bool& DoubleClicked = TheSharedState.DoubleClicked;
inline std::array<OpenFileSlot, kOpenFileSlots>& OpenFiles = TheSharedState.OpenFiles;
inline int32_t& OpenCount = TheSharedState.OpenCount;
inline ShellHooks& DefaultShellHooks() {
    return TheSharedState.shellHooks;
}

bool Busy();

// Puts every shared value, the engine's included, back to its start-of-run
// state, wiping the remembered password first. The program calls it once
// before any window exists and once at the end; tests call it between cases.
void ResetSharedState();

} // namespace kelvane
