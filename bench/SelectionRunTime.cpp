// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the seconds the main window takes to encrypt the first COUNT rows
// of "Available for encryption" in DIR through "Encrypt" of the grid's
// context menu: one password dialog, "One password for a file list" left
// ticked, every file's source deleted and the lists rebuilt after each file,
// as a user's run does. Runs on the offscreen platform; bench/selection_run.sh
// sets it beside kelvane-cli.
//
//   kelvane_selection_time DIR COUNT PASSWORD
#include "WindowBench.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "engine/CryptFile.h"
#include "platform/MessageSeam.h"
#include "ui/EncryptDialog.h"
#include "ui/EventPacing.h"
#include "ui/Forms.h"
#include "ui/MainWindow.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace kelvane;

// Answers the encryption dialog once; a second dialog or any message box
// means the run is not the one being measured.
void AnswerOnce(const QString& password, int& dialogs, bool& unexpected) {
    SetModalResponder([password, &dialogs, &unexpected](TModalForm& dialog) {
        if (&dialog != Encrypt || ++dialogs > 1) {
            std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(dialog.windowTitle()));
            unexpected = true;
            return mrCancel;
        }
        Encrypt->CheckBox1->setChecked(true);
        Encrypt->MaskEdit1->setText(password);
        Encrypt->MaskEdit2->setText(password);
        Encrypt->Button2->click();
        return dialog.result();
    });
    bench::RefuseUnexpectedMessages(unexpected);
}

void SelectFirstRows(TStringGrid& grid, int count) {
    const auto& model = grid.Model();
    grid.selectionModel()->setCurrentIndex(model.index(0, 0), QItemSelectionModel::NoUpdate);
    grid.selectionModel()->select(QItemSelection(model.index(0, 0), model.index(count - 1, 4)),
                                  QItemSelectionModel::ClearAndSelect);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kelvane_selection_time DIR COUNT PASSWORD\n");
        return 2;
    }
    bench::PrepareOffscreenProgram();
    const std::filesystem::path dir = std::filesystem::absolute(argv[1]);
    const int count = std::atoi(argv[2]);
    QApplication app(argc, argv);
    bench::StartLikeTheProgram();
    int dialogs = 0;
    bool unexpected = false;
    AnswerOnce(QString::fromLocal8Bit(argv[3]), dialogs, unexpected);

    std::filesystem::current_path(dir);
    CreateForms();
    MainWin->show();
    QApplication::processEvents();
    MainWin->RefreshLists();
    SelectFirstRows(*MainWin->StringGrid1, count);
    OnePassword = 0;
    OnePerList = 1;

    const auto start = std::chrono::steady_clock::now();
    MainWin->Encrypt1->trigger();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    DestroyForms();
    ResetSharedState();
    if (unexpected || dialogs != 1) {
        std::fprintf(stderr, "the window's run was not the one measured\n");
        return 1;
    }
    std::printf("%.3f\n", took.count());
    return 0;
}
