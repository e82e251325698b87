// Kelvane 95: start-up, the event loop and the end of the run.
#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptFile.h"
#include "crypto/SelfTest.h"
#include "platform/MessageSeam.h"
#include "ui/EventPacing.h"
#include "ui/Fonts.h"
#include "ui/Forms.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QFile>
#include <QSessionManager>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kNoDisplay = "kelvane: no display to show the window on";

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt's messages while it connects to the display: held back, since a
// failure to connect ends in an abort that we replace by one line.
std::vector<std::string> heldMessages;

void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "%s (cannot open the display \"%s\").\n", kNoDisplay,
                     display != nullptr ? display : "");
        std::_Exit(1);
    }
    heldMessages.push_back(text.toStdString());
}

// Connects to the display; without one, says so in one line and ends the
// process with exit code 1.
QApplication* ConnectToDisplay(int& argc, char** argv) {
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "%s (DISPLAY and WAYLAND_DISPLAY are unset).\n", kNoDisplay);
        std::exit(1);
    }
    qInstallMessageHandler(StartupMessages);
    auto* app = new QApplication(argc, argv);
    qInstallMessageHandler(nullptr);
    for (const std::string& message : heldMessages)
        std::fprintf(stderr, "%s\n", message.c_str());
    heldMessages.clear();
    return app;
}

} // namespace

int main(int argc, char** argv) {
    using namespace kelvane;

    ResetSharedState();
    std::unique_ptr<QApplication> app(ConnectToDisplay(argc, argv));
    QApplication::setApplicationName("Kelvane 95");
    ClearSettings(); // the help file has no directory until loaded
    InstallMessageBoxes();
    InstallWindowFont();
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

    // A file and an optional switch: one action on that file, then the end.
    // The parameters are the bytes the system passed, whatever their
    // encoding: a file name need not be UTF-8. QApplication has taken its own
    // options out of argv already.
    std::vector<std::string> parameters(argv + std::min(argc, 1), argv + argc);
    // Files an earlier run left decrypted are named before anything else.
    MainWin->SetCommandLineStep([parameters] {
        MainWin->OfferToEncryptLeftFiles();
        if (!parameters.empty())
            MainWin->RunCommandLine(parameters);
    });

    // Logging off asks the main window too, and its close rule may refuse.
    QObject::connect(app.get(), &QGuiApplication::commitDataRequest, [](QSessionManager& manager) {
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
