// SPDX-License-Identifier: GPL-3.0-or-later
// Small controls that carry an integer counter (`Tag`) besides what they
// show, as the progress figures need.
#pragma once

#include "engine/Progress.h"

#include <QProgressBar>
#include <QTimer>

namespace kelvane {

// A bar the engine reports to: position 0..100 and the counter it leaves
// for the timing figures.
class TProgressBar : public QProgressBar, public ProgressBar {
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent = nullptr);

    // The position the engine last reported; the bar shows it from the
    // window's next turn to run events on.
    int Position() const override { return position_; }
    void SetPosition(int position) override;
    int Tag() const override { return tag_; }
    void SetTag(int tag) override { tag_ = tag; }

private:
    void ShowPosition();

    int position_ = 0;
    bool showQueued_ = false;
    int tag_ = 0;
};

class TTimer : public QTimer {
    Q_OBJECT
public:
    using QTimer::QTimer;
    int Tag = 0;
};

} // namespace kelvane
