// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Controls.h"

#include <algorithm>

namespace kelvane {

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void TProgressBar::SetPosition(int position) {
    // The engine reports up to a hundred times a file. Setting the bar's
    // value each time formats its text and repaints it on the spot, which
    // over many small files costs more than the files; the bar takes the
    // latest position once per turn of the event loop instead.
    position_ = std::clamp(position, 0, 100);
    if (showQueued_)
        return;
    showQueued_ = true;
    QMetaObject::invokeMethod(this, &TProgressBar::ShowPosition, Qt::QueuedConnection);
}

void TProgressBar::ShowPosition() {
    showQueued_ = false;
    setValue(position_);
}

} // namespace kelvane
