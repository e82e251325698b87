// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's shell commands: "Open" and "Print" of both grids, and
// the actions of a program started with parameters.
#include "commands/CommandLine.h"
#include "commands/ShellCommands.h"
#include "ui/AgePassphraseDialog.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowCommandHost.h"
#include "ui/MainWindowShellHost.h"

#include <QAction>

namespace kelvane {

void TMainWin::ConnectShellCommands() {
    connect(Open1, &QAction::triggered, this, &TMainWin::Open1Click);
    connect(Print1, &QAction::triggered, this, &TMainWin::Print1Click);
    connect(Open2, &QAction::triggered, this, &TMainWin::Open2Click);
    connect(Print2, &QAction::triggered, this, &TMainWin::Print2Click);
}

void TMainWin::Open1Click() {
    TMainWinShell host(*this, *commands_);
    ShellPlainSelection(host, "open");
}

void TMainWin::Print1Click() {
    TMainWinShell host(*this, *commands_);
    ShellPlainSelection(host, "print");
}

void TMainWin::Open2Click() {
    TMainWinShell host(*this, *commands_);
    ShellCryptedSelection(host, "open");
}

void TMainWin::Print2Click() {
    TMainWinShell host(*this, *commands_);
    ShellCryptedSelection(host, "print");
}

void TMainWin::RunCommandLine(const std::vector<std::string>& parameters) {
    TMainWinShell host(*this, *commands_);
    TAgeTargetOfRun ageTarget(this);
    kelvane::RunCommandLine(host, *commands_, parameters, ageTarget.Source());
}

void TMainWin::OfferToEncryptLeftFiles() {
    kelvane::OfferToEncryptLeftFiles(*commands_);
}

} // namespace kelvane
