// SPDX-License-Identifier: GPL-3.0-or-later
// The state the file commands and the main window share for the whole run.
// Everything here is touched on the window's thread only; the cancel flag
// lives beside the engine (crypto/CryptFile.h) because the engine polls it.
#pragma once

#include "engine/CryptFile.h"

#include <array>
#include <cstdint>
#include <string>

namespace kelvane {

// One command of each kind at a time: every file command tests Busy() first.
extern bool EncryptBusy; // a single-file encryption runs
extern bool DecryptBusy; // a single-file decryption runs
extern bool TreeBusy;    // an Encrypt All / Decrypt All walk runs
extern bool DeleteBusy;  // a deletion runs
// An Encrypt or Decrypt run on a grid's selection, a drop included; cleared
// while one of its files is handled, as TreeBusy is, since the single-file
// commands refuse to run while any command is busy.
extern bool SelectionBusy;

bool Busy();

// A selection of more than one file is processing its first file.
extern bool FirstOfList;

// A run over several files (a selection of more than one row, a drop,
// Encrypt All, Decrypt All) is under way, the handling of its files included.
// A password dialog cancelled within it offers to stop the whole run.
extern bool RunOfFiles;

// The key check refused the remembered password. It is not handed on again
// until the user has been asked for a password.
extern bool PasswordRefused;

// A password accepted under the OnePassword preference, kept for the run.
extern bool HavePassword;
extern std::string RememberedPassword;

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
extern std::array<OpenFileSlot, kOpenFileSlots> OpenFiles;
extern int32_t OpenCount;

// Puts every shared value back to its start-of-run state, wiping the
// remembered password first. The program calls it once before any window
// exists; tests call it between cases.
void ResetSharedState();

} // namespace kelvane
