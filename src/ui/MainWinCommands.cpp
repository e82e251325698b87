#include "ui/MainWinCommands.h"

#include "ui/Controls.h"
#include "ui/DecryptDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/EventPacing.h"
#include "ui/MainWindow.h"
#include "ui/StringGrid.h"

#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <system_error>
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
    // During a selection run the lists may still hold files the run has
    // since replaced; a rebuild would list only what is on disk.
    std::error_code error;
    if (run_ && !std::filesystem::exists(std::filesystem::symlink_status(fileName, error)))
        return false;
    const SplitLists& lists = window_.ListedFiles;
    return FindFileNamed(lists.Plain, fileName) != nullptr ||
           FindFileNamed(lists.Crypted, fileName) != nullptr;
}

std::string TMainWinCommands::CryptedFileName(const std::string& listedName) const {
    if (const ListedFile* file = FindShown(window_.ListedFiles.Crypted, listedName))
        return file->FileName;
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

} // namespace kelvane
