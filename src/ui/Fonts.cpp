// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Fonts.h"

#include <QApplication>
#include <QWidget>

namespace kelvane {

QFont WindowFont(int pixels) {
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

void InstallWindowFont() {
    QApplication::setFont(WindowFont());
}

void WearWindowFont(QWidget& window) {
    window.setFont(WindowFont());
}

} // namespace kelvane
