// SPDX-License-Identifier: GPL-3.0-or-later
// The one sans font of the program's windows. Every fixed text and every
// figure at its widest fits its control in it at the starting size; the
// layout tests measure that.
#pragma once

#include <QFont>

namespace kelvane {

inline constexpr int kWindowFontPixels = 11;

// Arial, or the metric twin the system puts in its place (Liberation Sans),
// so texts take the room they were laid out for.
QFont WindowFont(int pixels = kWindowFontPixels);

// Makes it the font of every window and message box of the program.
void InstallWindowFont();

} // namespace kelvane
