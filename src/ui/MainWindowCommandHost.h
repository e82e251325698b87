// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the file commands see it: its status line, progress
// panel, bars, hidden lists and password dialogs.
#pragma once

#include "commands/SelectionCommands.h"

#include <optional>
#include <string>
#include <unordered_set>

namespace kelvane {

class TMainWin;

// An Encrypt or Decrypt run on a grid's selection. Its grid is rebuilt
// once per turn of the event loop, not after every file, so between two
// rebuilds it still shows files the run has handled; the run's questions
// are answered as a rebuild would answer them.
struct TSelectionRunState {
    FileGrid grid = FileGrid::Plain;
    unsigned listsBuilt = 0;              // the rebuild `gone` was checked against
    std::unordered_set<std::string> gone; // handled, off the disk, still shown
    std::string lastShown;                // the name the run last read
    std::string lastFileName;             // and the file behind it
};

class TMainWinCommands : public SelectionHost {
public:
    explicit TMainWinCommands(TMainWin& window) : window_(window) {}

    std::string DirLabelText() const override;
    void SetPwdTimerEnabled(bool enabled) override;
    void SetStatus(const std::string& text) override;
    void ShowProgressPanel() override;
    void HideProgressPanel() override;
    void ProgressStart() override;
    void ProgressStop() override;
    void ProgressClear() override;
    ProgressBar& ProgressBar1() override;
    ProgressBar& ProgressBar2() override;
    bool InPlainList(const std::string& name) const override;
    bool InCryptedList(const std::string& name) const override;
    bool ListsFile(const std::string& fileName) const override;
    std::string CryptedFileName(const std::string& listedName) const override;
    void RefreshLists() override;
    PasswordDialog& EncryptDialog() override;
    PasswordDialog& DecryptDialog() override;

    // Takes down a panel kept up through a run over many files.
    void FinishHide();
    // The panel stays up between two files of a run.
    bool PanelKept() const { return panelKept_; }
    void LetEventsRun() override;
    // The grids' selections and the delete question.
    RowSpan SelectedRows(FileGrid grid) const override;
    int RowCount(FileGrid grid) const override;
    std::string ShownName(FileGrid grid, int row) const override;
    std::string FileNameOf(FileGrid grid, int row) const override;
    void UntickOneForList(FileGrid grid) override;
    int AskDelete(const std::string& shownName) override;
    void SetRunningSelection(FileGrid grid, bool running) override;

private:
    void PutUpPanel();
    void TakeDownPanel();
    // Rows the grid still shows whose files the run has removed, all of
    // them above the row it is at.
    int StaleRowsAbove(FileGrid grid) const;
    std::optional<bool> RunStillLists(FileGrid grid, const std::string& name) const;

    TMainWin& window_;
    bool panelKept_ = false; // up from a file of the run, to come down at its end
    mutable std::optional<TSelectionRunState> run_;
};

} // namespace kelvane
