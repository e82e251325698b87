#include "ui/MainWinTree.h"

#include "platform/MessageSeam.h"
#include "ui/DirectoryListBox.h"
#include "ui/EventPacing.h"
#include "ui/MainWindow.h"
#include "ui/PasswordPromptDialog.h"

#include <QLabel>
#include <QPushButton>

namespace kelvane {

void TMainWin::EncriptAll1Click() {
    RunTreeCommand(*tree_, TreeDirection::EncryptAll);
}

void TMainWin::Decriptall1Click() {
    RunTreeCommand(*tree_, TreeDirection::DecryptAll);
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

bool TMainWinTree::ShowDirectory(const std::string& directory) {
    return window_.DirectoryListBox1->SetDirectory(directory);
}

TFileListBox& TMainWinTree::FileListBox3() {
    return window_.FileListBox3;
}

void TMainWinTree::LetEventsRun() {
    LetWindowEventsRun();
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
