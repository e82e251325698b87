// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Padlock.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <algorithm>

namespace kelvane {

void DrawPadlock(QPainter& painter, const QRectF& box) {
    const double w = box.width();
    const double h = box.height();
    const auto at = [&](double x, double y) { return QPointF(box.x() + x * w, box.y() + y * h); };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(QColor(90, 90, 90), w * 0.13));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(at(0.18, 0), at(0.82, 0.65)), 0, 180 * 16);
    painter.drawLine(at(0.18, 0.33), at(0.18, 0.45));
    painter.drawLine(at(0.82, 0.33), at(0.82, 0.45));

    painter.setPen(QPen(QColor(120, 90, 10), std::max(1.0, w / 26)));
    painter.setBrush(QColor(220, 170, 40));
    painter.drawRoundedRect(QRectF(at(0, 0.4), at(1, 1)), w * 0.08, w * 0.08);
    painter.setBrush(QColor(60, 40, 0));
    painter.drawEllipse(at(0.5, 0.66), w * 0.11, w * 0.11);
    painter.drawRect(QRectF(at(0.45, 0.69), at(0.55, 0.88)));
    painter.restore();
}

} // namespace kelvane
