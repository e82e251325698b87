// The main window's commands on the grids' selections: the "Encrypt",
// "Decrypt" and "Delete" items of the grids' context menus, drops of one
// grid's rows on the other, and the Name column kept inside its grid.
#include "commands/SelectionCommands.h"
#include "commands/Settings.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/GridDrag.h"
#include "ui/MainWinCommands.h"
#include "ui/MainWindow.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QCheckBox>

namespace kelvane {
namespace {

// How far the Name column stays inside its grid's right edge.
constexpr int kNameColumnMargin = 20;

} // namespace

void TMainWin::ConnectSelectionCommands() {
    connect(Encrypt1, &QAction::triggered, this, &TMainWin::Encrypt1Click);
    connect(Decrypt1, &QAction::triggered, this, &TMainWin::Decrypt1Click);
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
    gridDrag_ = std::make_unique<TGridDrag>(*StringGrid1, *StringGrid2, std::move(handlers));
}

void TMainWin::Encrypt1Click() {
    EncryptSelection(*commands_);
}

void TMainWin::Decrypt1Click() {
    DecryptSelection(*commands_);
}

void TMainWin::Delete1Click() {
    DeleteSelection(*commands_, FileGrid::Plain);
}

void TMainWin::Delete2Click() {
    DeleteSelection(*commands_, FileGrid::Crypted);
}

// A drop runs the command of the grid the rows came from.
void TMainWin::StringGrid1DragDrop() {
    DecryptSelection(*commands_);
}

void TMainWin::StringGrid2DragDrop() {
    EncryptSelection(*commands_);
}

void TMainWin::ClampNameColumn(TStringGrid& grid) {
    const int limit = grid.width() - kNameColumnMargin;
    if (grid.columnWidth(0) > limit)
        grid.setColumnWidth(0, limit);
}

// ---- the grids as the selection commands see them

namespace {

TStringGrid& GridOf(TMainWin& window, FileGrid grid) {
    return grid == FileGrid::Plain ? *window.StringGrid1 : *window.StringGrid2;
}

} // namespace

RowSpan TMainWinCommands::SelectedRows(FileGrid grid) const {
    const GridRect rect = GridOf(window_, grid).Selection();
    return {rect.Top, rect.Bottom};
}

int TMainWinCommands::RowCount(FileGrid grid) const {
    return GridOf(window_, grid).RowCount();
}

std::string TMainWinCommands::ShownName(FileGrid grid, int row) const {
    return GridOf(window_, grid).Cells(0, row);
}

std::string TMainWinCommands::FileNameOf(FileGrid grid, int row) const {
    const TStringGrid& g = GridOf(window_, grid);
    if (row < 1 || row >= g.RowCount())
        return {};
    // The placeholder row names no file, even when a file of that name exists.
    if (g.Model().Row(row - 1).FileName.empty())
        return {};
    return g.FileName(row);
}

void TMainWinCommands::UntickOneForList(FileGrid grid) {
    TPasswordForm* dialog = grid == FileGrid::Plain ? static_cast<TPasswordForm*>(Encrypt)
                                                    : static_cast<TPasswordForm*>(Decrypt);
    if (dialog != nullptr)
        dialog->CheckBox1->setChecked(false);
}

int TMainWinCommands::AskDelete(const std::string& shownName) {
    // Without its question nothing is deleted.
    if (DelDialog == nullptr)
        return mrAbort;
    return DelDialog->Ask(shownName);
}

} // namespace kelvane
