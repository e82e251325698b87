// SPDX-License-Identifier: GPL-3.0-or-later
// Keys the program's controls share.
#pragma once

class QKeyEvent;

namespace kelvane {

// The Menu key or Shift+F10: open the focused control's context menu.
bool IsContextMenuKey(const QKeyEvent& event);

} // namespace kelvane
