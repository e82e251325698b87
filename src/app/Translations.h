// SPDX-License-Identifier: GPL-3.0-or-later
// The window's language: the program's own catalogue and Qt's, chosen by
// the user's locale, and the hook through which the lower layers' texts
// reach the same catalogues.
#pragma once

namespace kelvane {

// Loads the translations for the system locale and sets the text hook.
// Call once, after the application object exists and before any thread
// of the program's own starts. Under a locale without a catalogue (C,
// English) every text stays the English source text.
void InstallTranslations();

} // namespace kelvane
