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
#include <filesystem>
#include <system_error>
#include <unordered_set>

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
    RunOnChosenFiles([this] { EncryptSelection(*commands_); });
}

void TMainWin::Decrypt1Click() {
    RunOnChosenFiles([this] { DecryptSelection(*commands_); });
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
    return GridOf(window_, grid).RowCount() - StaleRowsAbove(grid);
}

std::string TMainWinCommands::ShownName(FileGrid grid, int row) const {
    std::string shown = GridOf(window_, grid).Cells(0, row + StaleRowsAbove(grid));
    if (run_ && run_->grid == grid) {
        run_->lastShown = shown;
        run_->lastFileName = FileNameOf(grid, row);
    }
    return shown;
}

std::string TMainWinCommands::FileNameOf(FileGrid grid, int row) const {
    const TStringGrid& g = GridOf(window_, grid);
    row += StaleRowsAbove(grid);
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

namespace kelvane {

void TMainWinCommands::SetRunningSelection(FileGrid grid, bool running) {
    window_.CoalesceRefresh = running;
    if (running) {
        run_.emplace();
        run_->grid = grid;
        run_->listsBuilt = window_.ListsBuilt;
        return;
    }
    run_.reset();
    window_.FinishPutOffWork();
}

int TMainWinCommands::StaleRowsAbove(FileGrid grid) const {
    if (!run_ || run_->grid != grid)
        return 0;
    if (run_->listsBuilt != window_.ListsBuilt) {
        // A rebuild has run: the files it no longer shows count no more.
        run_->listsBuilt = window_.ListsBuilt;
        const TFileGridModel& model = GridOf(window_, grid).Model();
        std::unordered_set<std::string> shown;
        for (int row = 0; row < model.RowCount() && shown.size() < run_->gone.size(); ++row) {
            if (run_->gone.count(model.Row(row).FileName) != 0)
                shown.insert(model.Row(row).FileName);
        }
        run_->gone = std::move(shown);
    }
    return static_cast<int>(run_->gone.size());
}

// Whether the file the run last read is still listed: a file stays in its
// list exactly as long as it is on disk.
std::optional<bool> TMainWinCommands::RunStillLists(FileGrid grid, const std::string& name) const {
    if (!run_ || run_->grid != grid || name != run_->lastShown)
        return std::nullopt;
    if (run_->lastFileName.empty())
        return false; // the placeholder row
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(run_->lastFileName, error)))
        return true;
    // Counted only while some grid still shows it; see StaleRowsAbove.
    StaleRowsAbove(grid);
    run_->gone.insert(run_->lastFileName);
    return false;
}

} // namespace kelvane
