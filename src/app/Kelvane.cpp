// Kelvane 95: start-up, the event loop and the end of the run.
#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptFile.h"
#include "crypto/SelfTest.h"
#include "platform/MessageSeam.h"
#include "ui/EventPacing.h"
#include "ui/Forms.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QSessionManager>

int main(int argc, char** argv) {
    using namespace kelvane;

    ResetSharedState();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvane 95");
    ClearSettings(); // the help file is the bare "Kelvane.hlp" until loaded
    InstallMessageBoxes();
    // A build whose cipher gives a wrong answer would write files nobody can
    // read back.
    if (!CryptoSelfTest()) {
        ShowError("The cipher self-test failed: this build of Kelvane 95 must not be used.");
        return 3;
    }
    // The engine lets the window repaint, tick and take "Cancel process"
    // between its steps, every couple of display frames.
    DefaultCryptHooks().letEventsRun = [] { LetWindowEventsRun(); };

    CreateForms();

    // Logging off asks the main window too, and its close rule may refuse.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [](QSessionManager& manager) {
        bool canClose = true;
        if (MainWin != nullptr)
            MainWin->FormCloseQuery(canClose);
        if (!canClose)
            manager.cancel();
    });

    MainWin->show();
    QApplication::exec();

    DestroyForms();
    ResetSharedState(); // wipes the remembered password
    return 0;
}
