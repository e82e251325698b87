// SPDX-License-Identifier: GPL-3.0-or-later
// The four preferences and the help file, loaded from the registry when the
// main window is created and written back when it is destroyed.
#pragma once

#include "commands/State.h"
#include "crypto/Translate.h"
#include "platform/Registry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kelvane {

// The preferences (ShowCry, OnePassword, OnePerList, Expire) and HelpFile
// are part of the shared state (commands/State.h).

//: The English text keeps its slip; write the translation correctly.
inline constexpr const char* kNotInstalledMessage =
    KELVANE_TR_NOOP("Settings", "Program haven't been properly installed.");

// Told once when the user's settings file exists but could not be read in
// full: it is never replaced, and the preferences hold for this run only.
std::string SettingsNotKeptMessage(const std::string& file);

// Opens the program's registry, loads the preferences from it and returns the
// accessor, which the main window keeps for SaveSettings. Tells the user once
// when the installation's keys are missing or malformed.
std::unique_ptr<Registry> LoadSettings();
// The same on a registry the caller provides.
void LoadSettings(Registry& registry);

// Writes the preferences this run changed back into the existing Options
// key; does nothing when that key can't be opened. Closes the accessor's key.
void SaveSettings(Registry& registry);

// The help file that belongs to a "DefaultIcon" value such as
// "C:\Prog\kelvane.exe,0" or "/usr/share/kelvane/kelvane.svg".
std::string HelpFileFor(const std::string& defaultIcon);

} // namespace kelvane
