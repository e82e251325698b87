// The main window as the file commands see it: its status line, progress
// panel, bars, hidden lists and password dialogs.
#pragma once

#include "commands/SelectionCommands.h"

namespace kelvane {

class TMainWin;

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

    // Takes down a panel whose taking down was put off during a walk.
    void FinishHide();
    // The grids' selections and the delete question (MainWinSelection.cpp).
    RowSpan SelectedRows(FileGrid grid) const override;
    int RowCount(FileGrid grid) const override;
    std::string ShownName(FileGrid grid, int row) const override;
    std::string FileNameOf(FileGrid grid, int row) const override;
    void UntickOneForList(FileGrid grid) override;
    int AskDelete(const std::string& shownName) override;

private:
    void PutUpPanel();
    void TakeDownPanel();

    TMainWin& window_;
    bool hidePending_ = false;
};

} // namespace kelvane
