// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindowCommandHost.h"

#include "ui/Controls.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/EventPacing.h"
#include "ui/MainWindow.h"
#include "ui/StringGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <system_error>
#include <unordered_set>
#include <utility>

namespace kelvane {
namespace {

// How much the grids give up for the bars under them while a file runs.
constexpr int kBarHeight = 13;

void Shorten(QWidget* grid, int by) {
    grid->resize(grid->width(), grid->height() - by);
}

} // namespace

std::string TMainWinCommands::DirLabelText() const {
    return window_.DirLabel->text().toStdString();
}

void TMainWinCommands::SetPwdTimerEnabled(bool enabled) {
    // Switching on a running timer must not restart its second.
    if (enabled && !window_.PwdTimer->isActive())
        window_.PwdTimer->start();
    else if (!enabled)
        window_.PwdTimer->stop();
}

void TMainWinCommands::SetStatus(const std::string& text) {
    window_.Status_Label->setText(QString::fromStdString(text));
}

void TMainWinCommands::ShowProgressPanel() {
    // Still up from the previous file of the run: nothing to redo.
    if (std::exchange(panelKept_, false))
        return;
    PutUpPanel();
}

void TMainWinCommands::HideProgressPanel() {
    // Within a run over many files the panel, and "Cancel process" with it,
    // stays up between the files: the user must be able to stop the run at
    // any moment, and the grids are not laid out anew twice per file. It
    // comes down when the whole command ends.
    if (window_.CoalesceRefresh) {
        panelKept_ = true;
        return;
    }
    TakeDownPanel();
}

void TMainWinCommands::FinishHide() {
    if (std::exchange(panelKept_, false))
        TakeDownPanel();
}

void TMainWinCommands::LetEventsRun() {
    LetWindowEventsRun();
}

void TMainWinCommands::PutUpPanel() {
    Shorten(window_.StringGrid1, kBarHeight);
    Shorten(window_.StringGrid2, kBarHeight);
    window_.Button1->setVisible(true);
    window_.ProgressBar1->setVisible(true);
    window_.ProgressBar2->setVisible(true);
}

void TMainWinCommands::TakeDownPanel() {
    Shorten(window_.StringGrid1, -kBarHeight);
    Shorten(window_.StringGrid2, -kBarHeight);
    window_.Button1->setVisible(false);
    window_.ProgressBar1->setVisible(false);
    window_.ProgressBar2->setVisible(false);
}

void TMainWinCommands::ProgressStart() {
    window_.ProgressStart();
}
void TMainWinCommands::ProgressStop() {
    window_.ProgressStop();
}
void TMainWinCommands::ProgressClear() {
    window_.ProgressClear();
}
ProgressBar& TMainWinCommands::ProgressBar1() {
    return *window_.ProgressBar1;
}
ProgressBar& TMainWinCommands::ProgressBar2() {
    return *window_.ProgressBar2;
}

bool TMainWinCommands::InPlainList(const std::string& name) const {
    if (const std::optional<bool> listed = RunStillLists(FileGrid::Plain, name))
        return *listed;
    return window_.FileListBox1.Contains(name);
}

bool TMainWinCommands::InCryptedList(const std::string& name) const {
    if (const std::optional<bool> listed = RunStillLists(FileGrid::Crypted, name))
        return *listed;
    return window_.FileListBox2.Contains(name);
}

bool TMainWinCommands::ListsFile(const std::string& fileName) const {
    // During a selection run or a walk the lists may still hold files the
    // run has since replaced or removed, so only the disk can say; the step
    // that asks looks at the disk for that very name itself, a moment later,
    // and a second look here would only cost a walk a lookup per file.
    if (run_ || window_.CoalesceRefresh)
        return false;
    return window_.StringGrid1->Model().RowOfFile(fileName) >= 0 ||
           window_.StringGrid2->Model().RowOfFile(fileName) >= 0;
}

std::string TMainWinCommands::CryptedFileName(const std::string& listedName) const {
    const TFileGridModel& crypted = window_.StringGrid2->Model();
    if (const int row = crypted.RowShownAs(listedName); row >= 0)
        return std::string(crypted.FileName(row));
    return CommandHost::CryptedFileName(listedName);
}

void TMainWinCommands::RefreshLists() {
    if (window_.CoalesceRefresh)
        window_.RefreshListsSoon();
    else
        window_.RefreshLists();
}
PasswordDialog& TMainWinCommands::EncryptDialog() {
    return *Encrypt;
}
PasswordDialog& TMainWinCommands::DecryptDialog() {
    return *Decrypt;
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
    if (g.Model().FileName(row - 1).empty())
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
            const std::string file(model.FileName(row));
            if (run_->gone.count(file) != 0)
                shown.insert(file);
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
