// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Fonts.h"

#include <QApplication>
#include <QFontMetrics>
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

QString WithWidestDigits(const QFont& font, QString pattern) {
    const QFontMetrics metrics(font);
    QChar widest = '0';
    for (QChar digit : QStringLiteral("0123456789"))
        if (metrics.horizontalAdvance(digit) > metrics.horizontalAdvance(widest))
            widest = digit;
    return pattern.replace('9', widest);
}

} // namespace kelvane
