// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindowShellHost.h"

#include "ui/MainWindow.h"
#include "ui/StringGrid.h"

#include <QEventLoop>
#include <QTimer>

namespace kelvane {

RowSpan TMainWinShell::SelectedRows(FileGrid grid) {
    const GridRect selection = Grid(grid).Selection();
    return {selection.Top, selection.Bottom};
}

std::string TMainWinShell::RowName(FileGrid grid, int row) {
    // "[no files]" goes to the commands like any row, which find no such
    // file and say so.
    if (row < 1 || row >= Grid(grid).RowCount())
        return {};
    return Grid(grid).Cells(0, row);
}

void TMainWinShell::WaitBetweenPasses() {
    // Sleeps in the event loop: the window stays fully usable and the
    // processor idle between two passes.
    QEventLoop loop;
    QTimer::singleShot(kWatchPace, &loop, &QEventLoop::quit);
    loop.exec();
}

void TMainWinShell::CloseMainWindow() {
    window_.close();
}

bool TMainWinShell::ChangeDirectory(const std::string& directory) {
    return window_.ChangeDirectory(directory, false);
}

TStringGrid& TMainWinShell::Grid(FileGrid grid) {
    return grid == FileGrid::Plain ? *window_.StringGrid1 : *window_.StringGrid2;
}

} // namespace kelvane
