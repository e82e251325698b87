// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindowTreeHost.h"

#include "platform/MessageSeam.h"
#include "ui/DirectoryListBox.h"
#include "ui/EventPacing.h"
#include "ui/MainWindow.h"
#include "ui/PasswordPromptDialog.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <unistd.h>

namespace kelvane {

void TMainWinTree::SetWalking(bool walking) {
    window_.CoalesceRefresh = walking;
    if (!walking)
        window_.FinishPutOffWork();
}

void TMainWinTree::SetStatus(const std::string& text) {
    window_.Status_Label->setText(QString::fromStdString(text));
}

int TMainWinTree::ShowPasswordPrompt() {
    // Without the dialog there is no one to warn; going on would ask for
    // passwords nobody was told about.
    return PasswordPrompt != nullptr ? PasswordPrompt->ShowModal() : mrCancel;
}

void TMainWinTree::RunPreferences() {
    window_.RunPreferences();
}

void TMainWinTree::ShowCancelButton(bool visible) {
    window_.Button1->setVisible(visible);
}

std::string TMainWinTree::OpenDirectory() const {
    return window_.DirectoryListBox1->Directory();
}

namespace {

// The folder list shows a folder's path one level a row, the root first.
int RowOf(const std::string& directory) {
    return static_cast<int>(std::count(directory.begin(), directory.end(), '/')) -
           (directory == "/" ? 1 : 0);
}

} // namespace

bool TMainWinTree::ShowDirectory(const std::string& directory) {
    TDirectoryListBox& list = *window_.DirectoryListBox1;
    if (list.Directory() != directory)
        return list.SetDirectory(directory);
    // Already shown: entering it again and taking back a highlight the user
    // may have moved is all it takes; listing its subfolders anew before
    // every file would cost more than a small file's encryption.
    if (::chdir(directory.c_str()) != 0)
        return false;
    const int row = RowOf(directory);
    if (list.ItemPath(row) == directory && list.currentRow() != row)
        list.setCurrentRow(row);
    return true;
}

bool TMainWinTree::StillShows(const std::string& directory) const {
    const TDirectoryListBox& list = *window_.DirectoryListBox1;
    const int row = RowOf(directory);
    return list.Directory() == directory &&
           (list.ItemPath(row) != directory || list.currentRow() == row);
}

TFileListBox& TMainWinTree::FileListBox3() {
    return window_.FileListBox3;
}

void TMainWinTree::LetEventsRun() {
    LetWindowEventsRun();
}

bool TMainWinTree::EventsDue() const {
    return WindowEventsDue();
}

bool TMainWinTree::EncryptOneFile(const std::string& name) {
    return window_.EncryptOneFile(name);
}

bool TMainWinTree::DecryptOneFile(const std::string& name) {
    return window_.DecryptOneFile(name);
}

void TMainWinTree::RefreshLists() {
    window_.RefreshLists();
}

} // namespace kelvane
