// SPDX-License-Identifier: GPL-3.0-or-later
// The one sans font of the program's windows. Every fixed text and every
// figure at its widest fits its control in it at the starting size; the
// layout tests measure that.
#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace kelvane {

inline constexpr int kWindowFontPixels = 11;

// Arial, or the metric twin the system puts in its place (Liberation Sans),
// so texts take the room they were laid out for. Family, size, weight and
// slant are all set, so a control inside a window wearing it takes them
// over whatever font the desktop gives controls of its kind.
QFont WindowFont(int pixels = kWindowFontPixels);

// Makes it the program's font. Each window also wears it itself, since a
// desktop's theme may change the program's font once it runs, and gives
// labels, buttons and message boxes fonts of their own.
void InstallWindowFont();
void WearWindowFont(QWidget& window);

// `pattern` with every 9 drawn in the digit that is widest in `font`: a
// figure at its widest, for sizing the control that shows it.
QString WithWidestDigits(const QFont& font, QString pattern);

} // namespace kelvane
