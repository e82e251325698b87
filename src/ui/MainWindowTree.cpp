// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's "Encrypt All" and "Decrypt All" and the list rebuilds
// they put off.
#include "ui/MainWindow.h"
#include "ui/MainWindowCommandHost.h"
#include "ui/MainWindowTreeHost.h"

namespace kelvane {

// The walk takes the highlighted folder, opened first so that the lists show
// what it takes.
void TMainWin::EncriptAll1Click() {
    if (!OpenHighlightedFolder())
        return;
    RunOnChosenFiles([this] { RunTreeCommand(*tree_, Direction::Encrypt); });
}

void TMainWin::Decriptall1Click() {
    if (!OpenHighlightedFolder())
        return;
    RunOnChosenFiles([this] { RunTreeCommand(*tree_, Direction::Decrypt); });
}

void TMainWin::FinishPutOffWork() {
    commands_->FinishHide();
}

void TMainWin::RefreshListsSoon() {
    if (refreshQueued_)
        return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            // A rebuild that ran meanwhile has already done this one's work.
            if (refreshQueued_)
                RefreshLists();
        },
        Qt::QueuedConnection);
}

} // namespace kelvane
