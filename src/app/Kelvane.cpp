// SPDX-License-Identifier: GPL-3.0-or-later
// Kelvane 95: start-up, the event loop and the end of the run.
#include "Translations.h"
#include "crypto/SelfTest.h"
#include "crypto/Translate.h"
#include "engine/CryptFile.h"
#include "platform/MessageSeam.h"
#include "platform/ProcessLimits.h"
#include "ui/EventPacing.h"
#include "ui/Fonts.h"
#include "ui/Forms.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxes.h"
#include "ui/StringGrid.h"
#include "ui/WindowState.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QSessionManager>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
        static_cast<void>(std::fprintf(stderr, "%s (cannot open the display \"%s\").\n", kNoDisplay,
                                       display != nullptr ? display : ""));
        std::_Exit(1);
    }
    heldMessages.push_back(text.toStdString());
}

// Connects to the display; without one, says so in one line and ends the
// process with exit code 1.
QApplication* ConnectToDisplay(int& argc, char** argv) {
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        static_cast<void>(
            std::fprintf(stderr, "%s (DISPLAY and WAYLAND_DISPLAY are unset).\n", kNoDisplay));
        // Before any thread of the program's own exists.
        std::exit(1); // NOLINT(concurrency-mt-unsafe)
    }
    qInstallMessageHandler(StartupMessages);
    auto* app = new QApplication(argc, argv);
    qInstallMessageHandler(nullptr);
    for (const std::string& message : heldMessages)
        static_cast<void>(std::fprintf(stderr, "%s\n", message.c_str()));
    heldMessages.clear();
    return app;
}

constexpr const char* kUsage = R"(Usage: kelvane [FILE]
       kelvane /open|/print|/decrypt FILE
       kelvane --run|--open|--convert FILE...
Protect files with a password.

Started without arguments, Kelvane 95 opens its window on the current folder.
Started with a file, it does one thing with that file, with its usual
dialogs, and ends:
  FILE           encrypt FILE, or decrypt it when its name ends in .cry
  /open FILE     decrypt FILE, open it in the application of its type and
                 encrypt it again when that application has closed it
  /print FILE    the same, printing FILE
  /decrypt FILE  decrypt FILE for good
With a list of files, as a file manager hands on its selection, it handles
them all in one run, asking a password once where it can:
  --run FILE...      encrypt the plain files and decrypt the crypted ones
  --open FILE...     open each crypted file as /open does
  --convert FILE...  convert each crypted file to an age file
  --help         show this help and end
  --version      show the version and end

kelvane-cli does the same from scripts; see kelvane(1) and kelvane-cli(1).
)";

// "--help" and "--version" as the only argument are answered on standard
// output before any display is needed, as a shell user expects; any other
// argument is a file or a switch for the window. Returns the exit code, or
// -1 when the window is to start.
int AnswerInformationRequest(int argc, char** argv) {
    if (argc != 2)
        return -1;
    if (std::strcmp(argv[1], "--help") == 0)
        static_cast<void>(std::fputs(kUsage, stdout));
    else if (std::strcmp(argv[1], "--version") == 0)
        std::printf("kelvane %s\n", KELVANE_VERSION);
    else
        return -1;
    // A full disk or a closed pipe must not pass for an answer.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::perror("kelvane: standard output");
        return 1;
    }
    return 0;
}

// The taskbar, the window switcher and Wayland's compositor match the
// windows to the desktop entry by its name, and show this icon for them.
void IdentifyToTheDesktop() {
    QGuiApplication::setDesktopFileName(KELVANE_APP_ID);
    // The build renders the picture once per size a desktop asks for.
    QIcon icon;
    for (QDirIterator sizes(":/icons", QDir::Files); sizes.hasNext();)
        icon.addFile(sizes.next());
    QApplication::setWindowIcon(icon);
}

// With KELVANE_QUIT_WHEN_SHOWN set, the run ends with exit code 0 as soon as
// the window's first showing has drawn both file grids, saving nothing:
// bench/window_start.sh times the start up to that moment.
class QuitWhenShown : public QObject {
public:
    explicit QuitWhenShown(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Once the paint under way has been done.
            if (--undrawn_ == 0)
                QTimer::singleShot(0, this, [] {
                    static_cast<void>(std::fflush(nullptr));
                    std::_Exit(0);
                });
        }
        return false;
    }

private:
    int undrawn_ = 2;
};

void QuitWhenShownIfAsked() {
    if (!Set("KELVANE_QUIT_WHEN_SHOWN"))
        return;
    auto* quit = new QuitWhenShown(kelvane::MainWin);
    kelvane::MainWin->StringGrid1->viewport()->installEventFilter(quit);
    kelvane::MainWin->StringGrid2->viewport()->installEventFilter(quit);
}

} // namespace

int main(int argc, char** argv) {
    using namespace kelvane;

    // Before anything could hold a password.
    TurnOffCoreDumps();
    RaiseOpenFileLimit(kWindowOpenFiles);
    if (const int exitCode = AnswerInformationRequest(argc, argv); exitCode >= 0)
        return exitCode;
    ResetWindowState();
    std::unique_ptr<QApplication> app(ConnectToDisplay(argc, argv));
    QApplication::setApplicationName("Kelvane 95");
    InstallTranslations();
    IdentifyToTheDesktop();
    InstallMessageBoxes();
    InstallWindowFont();
    // A build whose cipher gives a wrong answer would write files nobody can
    // read back.
    if (!CryptoSelfTest()) {
        ShowError(Tr("Kelvane",
                     "The cipher self-test failed: this build of Kelvane 95 must not be used."));
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

    QuitWhenShownIfAsked();
    MainWin->show();
    QApplication::exec();

    DestroyForms();
    ResetWindowState(); // wipes the remembered password
    return 0;
}
