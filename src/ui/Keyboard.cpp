// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Keyboard.h"

#include <QKeyEvent>

namespace kelvane {

bool IsContextMenuKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Menu)
        return modifiers == Qt::NoModifier;
    return event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier;
}

} // namespace kelvane
