// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the seconds the main window takes for Encrypt All over a folder
// tree with a session password: no prompt, no password dialog, the folder
// list following the walk and the lists rebuilt after every file, exactly
// as from the folder list's menu. Runs on the offscreen platform;
// bench/tree_run.sh sets it beside kelvane-cli.
//
//   kelvane_tree_time FOLDER PASSWORD
#include "WindowBench.h"
#include "commands/Settings.h"
#include "commands/State.h"
#include "commands/TreeCommands.h"
#include "engine/CryptFile.h"
#include "platform/MessageSeam.h"
#include "ui/EventPacing.h"
#include "ui/Forms.h"
#include "ui/MainWindow.h"
#include "ui/ModalForm.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace kelvane;

// Answers the recursion question with Yes; any other box or dialog means
// the run is not the one being measured.
void AnswerTheRecursionQuestion(bool& unexpected) {
    SetModalResponder([&unexpected](TModalForm& dialog) {
        std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(dialog.windowTitle()));
        unexpected = true;
        return mrCancel;
    });
    bench::RefuseUnexpectedMessages(unexpected, [](const MessageRequest& request) {
        return request.text == kRecurseQuestion ? mrYes : 0;
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelvane_tree_time FOLDER PASSWORD\n");
        return 2;
    }
    bench::PrepareOffscreenProgram();
    const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
    QApplication app(argc, argv);
    bench::StartLikeTheProgram();
    bool unexpected = false;
    AnswerTheRecursionQuestion(unexpected);

    std::filesystem::current_path(folder);
    CreateForms();
    MainWin->show();
    QApplication::processEvents();
    OnePassword = 1;
    HavePassword = true;
    RememberedPassword = argv[2];

    const auto start = std::chrono::steady_clock::now();
    MainWin->EncriptAll1Click();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    DestroyForms();
    ResetSharedState();
    if (unexpected) {
        std::fprintf(stderr, "the window's walk was interrupted\n");
        return 1;
    }
    std::printf("%.3f\n", took.count());
    return 0;
}
