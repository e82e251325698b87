// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands on the grids' selections: the "Encrypt",
// "Decrypt" and "Delete" items of the grids' context menus, drops of one
// grid's rows on the other, and the Name column kept inside its grid.
#include "commands/CommandLine.h"
#include "commands/SelectionCommands.h"
#include "crypto/CryptNames.h"
#include "ui/AgePassphraseDialog.h"
#include "ui/DirectoryListBox.h"
#include "ui/GridDrag.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowCommandHost.h"
#include "ui/MainWindowShellHost.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <sys/stat.h>

namespace kelvane {

void TMainWin::ConnectSelectionCommands() {
    connect(Encrypt1, &QAction::triggered, this, &TMainWin::Encrypt1Click);
    connect(Decrypt1, &QAction::triggered, this, &TMainWin::Decrypt1Click);
    connect(ConvertToAge1, &QAction::triggered, this, &TMainWin::ConvertToAge1Click);
    connect(Delete1, &QAction::triggered, this, &TMainWin::Delete1Click);
    connect(Delete2, &QAction::triggered, this, &TMainWin::Delete2Click);
    TGridDrag::Handlers handlers;
    handlers.dropped = [this](TStringGrid& target) {
        if (&target == StringGrid2)
            StringGrid2DragDrop();
        else
            StringGrid1DragDrop();
    };
    handlers.mouseUp = [this](TStringGrid& grid) { ClampNameColumn(grid); };
    handlers.filesFor = [this](TStringGrid& target, const std::vector<std::string>& paths) {
        return FilesTakenBy(target, paths);
    };
    handlers.filesDropped = [this](TStringGrid&, const std::vector<std::string>& files) {
        RunDroppedFiles(files);
    };
    gridDrag_ = std::make_unique<TGridDrag>(*StringGrid1, *StringGrid2, std::move(handlers));
}

void TMainWin::Encrypt1Click() {
    RunOnChosenFiles([this] { EncryptSelection(*commands_); });
}

void TMainWin::Decrypt1Click() {
    RunOnChosenFiles([this] { DecryptSelection(*commands_); });
}

// The passphrase is asked once for the whole selection, after the first
// file's password, and wiped when the run is over.
void TMainWin::ConvertToAge1Click() {
    TAgeTargetOfRun target(this);
    ConvertSelection(*commands_, target.Source());
}

void TMainWin::Delete1Click() {
    RunOnChosenFiles([this] { DeleteSelection(*commands_, FileGrid::Plain); });
}

void TMainWin::Delete2Click() {
    RunOnChosenFiles([this] { DeleteSelection(*commands_, FileGrid::Crypted); });
}

// A drop runs the command of the grid the rows came from.
void TMainWin::StringGrid1DragDrop() {
    RunOnChosenFiles([this] { DecryptSelection(*commands_); });
}

void TMainWin::StringGrid2DragDrop() {
    RunOnChosenFiles([this] { EncryptSelection(*commands_); });
}

// Dropped on "Crypted files", plain files are encrypted; dropped on
// "Available for encryption", crypted files are decrypted. Folders and other
// kinds of entries are left out.
std::vector<std::string> TMainWin::FilesTakenBy(const TStringGrid& target,
                                                const std::vector<std::string>& paths) const {
    std::vector<std::string> taken;
    for (const std::string& path : paths) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (HasCryExtension(path) == (&target == StringGrid1))
            taken.push_back(path);
    }
    return taken;
}

// Each file is handled where it lies; the window comes back to its folder.
void TMainWin::RunDroppedFiles(const std::vector<std::string>& files) {
    const std::string shown = DirectoryListBox1->Directory();
    TMainWinShell shell(*this, *commands_);
    RunFileList(shell, *commands_, files, EncryptOrDecryptStep(shell));
    if (DirectoryListBox1->Directory() != shown)
        ChangeDirectory(shown, false);
}

void TMainWin::ClampNameColumn(TStringGrid& grid) {
    const int limit = grid.width() - TStringGrid::kNameMargin;
    if (grid.columnWidth(0) > limit)
        grid.setColumnWidth(0, limit);
}

} // namespace kelvane
