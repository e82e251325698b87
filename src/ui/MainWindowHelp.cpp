// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's "&Help" menu and its help key.
#include "ui/AboutDialog.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"

#include <QAction>

namespace kelvane {

void TMainWin::ConnectHelp() {
    connect(Contents1, &QAction::triggered, this, &TMainWin::Contents1Click);
    SetHelpContext(*this, kMainWindowHelpContext);
}

void TMainWin::Contents1Click() {
    ShowHelpContents();
}

// The figures are read again at every showing: memory and even the system
// may have changed since the last one.
void TMainWin::About1Click() {
    if (About == nullptr)
        return;
    About->ShowFigures();
    About->ShowModal();
}

} // namespace kelvane
