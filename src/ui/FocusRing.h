// SPDX-License-Identifier: GPL-3.0-or-later
// A clear mark on the pane that has the keyboard focus. The style's own focus
// frame on a list is a faint line, and a grid keeps its blue row while the
// focus is elsewhere, so without it nobody could tell where Enter or Delete
// will go.
#pragma once

#include <QWidget>

namespace kelvane {

class TFocusRing : public QWidget {
public:
    // The ring lies over the edge of `pane`, and shows while the pane has
    // the focus.
    explicit TFocusRing(QWidget& pane);

    static constexpr int kThickness = 2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FollowPane();
    void FocusMoved();

    QWidget& pane_;
};

} // namespace kelvane
