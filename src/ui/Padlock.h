// SPDX-License-Identifier: GPL-3.0-or-later
// The program's padlock, drawn rather than shipped so that no image files
// are needed: the password dialogs show it small, the About box large.
#pragma once

class QPainter;
class QRectF;

namespace kelvane {

// Draws the padlock, shackle and body, filling `box`.
void DrawPadlock(QPainter& painter, const QRectF& box);

} // namespace kelvane
