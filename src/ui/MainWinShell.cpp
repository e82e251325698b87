// The main window's shell commands: "Open" and "Print" of both grids, and
// the actions of a program started with parameters.
#include "commands/CommandLine.h"
#include "commands/ShellCommands.h"
#include "ui/DirectoryListBox.h"
#include "ui/MainWinCommands.h"
#include "ui/MainWindow.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QEventLoop>
#include <QTimer>

namespace kelvane {
namespace {

class TMainWinShell : public ShellHost {
public:
    TMainWinShell(TMainWin& window, CommandHost& commands) : window_(window), commands_(commands) {}

    CommandHost& Commands() override { return commands_; }

    RowRange SelectedRows(ShellGrid grid) override {
        const GridRect selection = Grid(grid).Selection();
        return {selection.Top, selection.Bottom};
    }

    std::string RowName(ShellGrid grid, int row) override {
        // "[no files]" goes to the commands like any row, which find no such
        // file and say so.
        if (row < 1 || row >= Grid(grid).RowCount())
            return {};
        return Grid(grid).Cells(0, row);
    }

    void WaitBetweenPasses() override {
        // Sleeps in the event loop: the window stays fully usable and the
        // processor idle between two passes.
        QEventLoop loop;
        QTimer::singleShot(kWatchPace, &loop, &QEventLoop::quit);
        loop.exec();
    }

    void CloseMainWindow() override { window_.close(); }

    bool ChangeDirectory(const std::string& directory) override {
        return window_.ChangeDirectory(directory, false);
    }

private:
    TStringGrid& Grid(ShellGrid grid) {
        return grid == ShellGrid::Plain ? *window_.StringGrid1 : *window_.StringGrid2;
    }

    TMainWin& window_;
    CommandHost& commands_;
};

} // namespace

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
    kelvane::RunCommandLine(host, parameters);
}

void TMainWin::OfferToEncryptLeftFiles() {
    kelvane::OfferToEncryptLeftFiles(*commands_);
}

} // namespace kelvane
