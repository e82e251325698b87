// SPDX-License-Identifier: GPL-3.0-or-later
// Where the main window's controls go for its size.
#include "commands/State.h"
#include "ui/Controls.h"
#include "ui/DirectoryListBox.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowCommandHost.h"
#include "ui/StringGrid.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace kelvane {
namespace {

constexpr int kRunningShift = 13; // the grids give up this much for a progress bar
constexpr int kMinimumHeight = 420;
const QSize kStartingSize(533, 492); // outer size at start, the frame included

// The room the window may take: a screen that is small, or scaled up,
// may hold less than the design sizes.
QSize AvailableSize() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry().size();
    return {};
}

QSize NoLargerThanTheScreen(QSize size) {
    const QSize available = AvailableSize();
    return available.isEmpty() ? size : size.boundedTo(available);
}

} // namespace

int TMainWin::OuterWidth() const {
    return frameGeometry().width();
}

int TMainWin::OuterHeight() const {
    return frameGeometry().height();
}

int TMainWin::ClientHeight() const {
    return centralWidget()->height();
}

QSize TMainWin::MinimumOuterSize() const {
    return NoLargerThanTheScreen({2 * DirectoryListBox1->width() + 50, kMinimumHeight});
}

QSize TMainWin::FrameSize() const {
    return frameGeometry().size() - size();
}

QSize TMainWin::StartingOuterSize() const {
    return NoLargerThanTheScreen(kStartingSize);
}

void TMainWin::ShowAtStartingSize() {
    const QSize outer = StartingOuterSize();
    resize(outer - FrameSize());
    // Centred, and the title bar on the screen even when the window fills it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        const QPoint centred = available.center() - QRect({}, outer).center();
        move(std::max(centred.x(), available.left()), std::max(centred.y(), available.top()));
    }
}

void TMainWin::LayoutWindow() {
    const QSize frame = FrameSize();
    // The window manager tells the frame only once the window is on screen;
    // the first size then becomes the starting outer size after all.
    if (!frame.isNull() && !frameKnown_) {
        frameKnown_ = true;
        ShowAtStartingSize();
        if (size() != StartingOuterSize() - frame)
            return; // the resize lays the window out again
    }
    // The window manager keeps a drag above this; resize() alone can't,
    // since a window manager ignores it while the user drags.
    if (const QSize least = MinimumOuterSize() - frame; minimumSize() != least)
        setMinimumSize(least);
    const int growWidth = std::max(0, MinimumOuterSize().width() - OuterWidth());
    const int growHeight = std::max(0, MinimumOuterSize().height() - OuterHeight());
    if (growWidth > 0 || growHeight > 0)
        resize(width() + growWidth, height() + growHeight);
    ArrangeControls();
}

void TMainWin::ArrangeControls() {
    const int W = OuterWidth();
    const int CH = ClientHeight();
    // The bars are up while a file runs, and between the files of a run.
    const bool running = EncryptBusy || DecryptBusy || commands_->PanelKept();

    const int gridWidth = W - StringGrid1->x() - 10;
    StringGrid1->resize(gridWidth, StringGrid1->height());
    ProgressBar1->resize(gridWidth, ProgressBar1->height());
    StringGrid2->resize(gridWidth, StringGrid2->height());
    ProgressBar2->resize(StringGrid2->width(), ProgressBar2->height());

    const int panelHeight = Bevel1->height() + Bevel2->height() + Bevel7->height() + 2;
    Panel1->setGeometry(Panel1->x(), CH - panelHeight - 10, StringGrid2->x() + StringGrid2->width(),
                        panelHeight);
    for (QFrame* bevel : {Bevel5, Bevel6, Bevel7})
        bevel->resize(Panel1->width() - bevel->x() - 4, bevel->height());

    const int listHeight = Panel1->y() - DirectoryListBox1->y() - 8;
    DirectoryListBox1->resize(DirectoryListBox1->width(), listHeight);

    const int base = (listHeight - 32) / 2;
    const int height1 = running ? base - kRunningShift : base;
    const int height2 =
        running ? listHeight - 32 - height1 - 2 * kRunningShift : listHeight - 32 - height1 - 1;
    const int top2 = DirectoryListBox1->y() + height1 + (running ? 32 + kRunningShift : 32);
    StringGrid1->resize(StringGrid1->width(), height1);
    StringGrid2->setGeometry(StringGrid2->x(), top2, StringGrid2->width(), height2);
    for (TStringGrid* grid : {StringGrid1, StringGrid2})
        grid->FitColumns();

    const int barGap = running ? 3 : -10;
    ProgressBar1->move(ProgressBar1->x(), StringGrid1->y() + StringGrid1->height() + barGap);
    ProgressBar2->move(ProgressBar2->x(), StringGrid2->y() + StringGrid2->height() + barGap);

    Image2->move(Image2->x(), StringGrid2->y() - 24);
    Label21->move(Label21->x(), Image2->y() + 4);
    Button1->move(StringGrid1->x() + StringGrid1->width() - Button1->width(), Image2->y());
}

} // namespace kelvane
