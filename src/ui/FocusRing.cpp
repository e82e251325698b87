// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QRegion>

namespace kelvane {

TFocusRing::TFocusRing(QWidget& pane) : QWidget(&pane), pane_(pane) {
    setObjectName("FocusRing");
    setFocusPolicy(Qt::NoFocus);
    // Clicks go through to the pane; only the ring itself is drawn.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    pane.installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &TFocusRing::FocusMoved);
    FollowPane();
    FocusMoved();
}

bool TFocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &pane_ && event->type() == QEvent::Resize)
        FollowPane();
    // A scroll area raises its viewport and bars over later children.
    if (watched == &pane_ && event->type() == QEvent::ChildAdded)
        raise();
    return QWidget::eventFilter(watched, event);
}

void TFocusRing::FollowPane() {
    setGeometry(pane_.rect());
    const QRect inside = rect().adjusted(kThickness, kThickness, -kThickness, -kThickness);
    setMask(QRegion(rect()).subtracted(QRegion(inside)));
    raise();
}

void TFocusRing::FocusMoved() {
    // A context menu over the pane keeps its mark: the menu's command acts there.
    const bool focused = pane_.window()->focusWidget() == &pane_ &&
                         (pane_.hasFocus() || QApplication::activePopupWidget() != nullptr);
    setVisible(focused);
    if (isVisible())
        raise();
}

void TFocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
}

} // namespace kelvane
