// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the seconds the main window takes to encrypt one file through
// EncryptOneFile: the password dialog answered, the progress panel shown,
// the window's events running between the engine's steps, the source deleted
// and the lists refreshed, exactly as a double-click does. Runs on the
// offscreen platform; bench/window_run.sh sets it beside kelvane-cli.
//
//   kelvane_window_time FILE PASSWORD
#include "WindowBench.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "engine/CryptFile.h"
#include "platform/MessageSeam.h"
#include "ui/EncryptDialog.h"
#include "ui/Forms.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace kelvane;

// Answers the encryption dialog with the password; any other dialog or box
// means the run is not the one being measured.
void AnswerEveryQuestion(const QString& password, bool& unexpected) {
    SetModalResponder([password, &unexpected](TModalForm& dialog) {
        if (&dialog != Encrypt) {
            std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(dialog.windowTitle()));
            unexpected = true;
            return mrCancel;
        }
        Encrypt->MaskEdit1->setText(password);
        Encrypt->MaskEdit2->setText(password);
        Encrypt->Button2->click();
        return dialog.result();
    });
    bench::RefuseUnexpectedMessages(unexpected);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelvane_window_time FILE PASSWORD\n");
        return 2;
    }
    bench::PrepareOffscreenProgram();
    const std::filesystem::path file = std::filesystem::absolute(argv[1]);
    QApplication app(argc, argv);
    bench::StartLikeTheProgram();
    bool unexpected = false;
    AnswerEveryQuestion(QString::fromLocal8Bit(argv[2]), unexpected);

    std::filesystem::current_path(file.parent_path());
    CreateForms();
    MainWin->show();
    QApplication::processEvents();

    const auto start = std::chrono::steady_clock::now();
    const bool encrypted = MainWin->EncryptOneFile(file.filename().string());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    DestroyForms();
    ResetSharedState();
    if (!encrypted || unexpected) {
        std::fprintf(stderr, "the window did not encrypt %s\n", file.c_str());
        return 1;
    }
    std::printf("%.3f\n", took.count());
    return 0;
}
