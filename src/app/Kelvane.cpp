// Kelvane 95: start-up, the event loop and the end of the run.
#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptFile.h"
#include "crypto/SelfTest.h"
#include "platform/MessageSeam.h"
#include "ui/Forms.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QFile>
#include <QSessionManager>
#include <string>
#include <vector>

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
    // between its steps.
    DefaultCryptHooks().letEventsRun = [] { QCoreApplication::processEvents(); };

    CreateForms();

    // A file and an optional switch: one action on that file, then the end.
    std::vector<std::string> parameters;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        parameters.push_back(QFile::encodeName(arguments[i]).toStdString());
    if (!parameters.empty())
        MainWin->SetCommandLineStep([parameters] { MainWin->RunCommandLine(parameters); });

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
