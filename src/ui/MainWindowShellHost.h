// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as "Open", "Print" and the command-line actions see it.
#pragma once

#include "commands/ShellCommands.h"

namespace kelvane {

class TMainWin;
class TStringGrid;

class TMainWinShell : public ShellHost {
public:
    TMainWinShell(TMainWin& window, CommandHost& commands) : window_(window), commands_(commands) {}

    CommandHost& Commands() override { return commands_; }
    RowSpan SelectedRows(FileGrid grid) override;
    std::string RowName(FileGrid grid, int row) override;
    void WaitBetweenPasses() override;
    void CloseMainWindow() override;
    bool ChangeDirectory(const std::string& directory) override;

private:
    TStringGrid& Grid(FileGrid grid);

    TMainWin& window_;
    CommandHost& commands_;
};

} // namespace kelvane
