// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows, created once at start in a fixed order and kept for
// the whole run.
#pragma once

#include "platform/Drives.h"
#include "platform/Registry.h"

#include <memory>

namespace kelvane {

// Creates MainWin, Encrypt, Decrypt, About, Preferences, DelDialog,
// PasswordPrompt and ComboChange, in this order. Creating the main window
// loads the preferences, from the registry given or the program's own.
void CreateForms(DriveList& drives = SystemDrives(), std::unique_ptr<Registry> registry = {});
// Destroys them; the main window saves the preferences as it goes.
void DestroyForms();

} // namespace kelvane
