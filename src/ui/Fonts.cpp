// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Fonts.h"

#include <QApplication>

namespace kelvane {

QFont WindowFont(int pixels) {
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

void InstallWindowFont() {
    QApplication::setFont(WindowFont());
}

} // namespace kelvane
