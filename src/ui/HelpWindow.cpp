// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include "commands/Settings.h"
#include "crypto/Translate.h"
#include "platform/MessageSeam.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kelvane {
namespace {

constexpr const char* kHelpContextProperty = "kelvaneHelpContext";

QPointer<THelpWindow>& HelpWindowInstance() {
    static QPointer<THelpWindow> window;
    return window;
}

// The help file's directory, everything up to its last "/".
std::string HelpDirectory() {
    const std::size_t slash = HelpFile.rfind('/');
    return slash == std::string::npos ? std::string() : HelpFile.substr(0, slash + 1);
}

bool ShowHelpPage(const std::string& path) {
    const QFileInfo page(QString::fromStdString(path));
    if (!page.isFile() || !page.isReadable()) {
        ShowError(FormatText(Tr("HelpWindow", "Cannot find the help file \"%1\". Reinstall "
                                              "Kelvane 95 to get its help back."),
                             {path}));
        return false;
    }
    QPointer<THelpWindow>& window = HelpWindowInstance();
    if (window.isNull())
        window = new THelpWindow;
    // A modal dialog blocks every window but its own, so the help asked for
    // from a dialog becomes one of the dialog's windows, to be read and
    // scrolled while the dialog waits.
    QWidget* owner = QApplication::activeModalWidget();
    if (window->parentWidget() != owner)
        window->setParent(owner, Qt::Window);
    window->ShowPage(page.absoluteFilePath().toStdString());
    return true;
}

// The first help context from the focused control outward to its window.
int HelpContextAt(QWidget& window) {
    QWidget* widget = QApplication::focusWidget();
    if (widget == nullptr || widget->window() != &window)
        widget = &window;
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (const int context = widget->property(kHelpContextProperty).toInt(); context != 0)
            return context;
        if (widget->isWindow())
            break;
    }
    return 0;
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QCoreApplication::translate("HelpWindow", "Kelvane 95 Help"));
    WearWindowFont(*this);
    setAttribute(Qt::WA_QuitOnClose, false);
    Contents_Button = new QPushButton(QCoreApplication::translate("HelpWindow", "&Contents"), this);
    Back_Button = new QPushButton(QCoreApplication::translate("HelpWindow", "&Back"), this);
    Forward_Button = new QPushButton(QCoreApplication::translate("HelpWindow", "&Forward"), this);
    Browser = new QTextBrowser(this);
    Browser->setAccessibleName(QCoreApplication::translate("HelpWindow", "Help page"));
    // Links between the pages open here; anything else goes to the desktop.
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Contents_Button);
    buttons->addWidget(Back_Button);
    buttons->addWidget(Forward_Button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Browser);

    Back_Button->setEnabled(false);
    Forward_Button->setEnabled(false);
    connect(Contents_Button, &QPushButton::clicked, this, [] { ShowHelpContents(); });
    connect(Back_Button, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(Forward_Button, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, Back_Button, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, Forward_Button, &QPushButton::setEnabled);
    resize(640, 560);
    // Escape puts the help away, as it closes the program's dialogs.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void THelpWindow::ShowPage(const std::string& path) {
    Browser->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    show();
    raise();
    activateWindow();
}

std::string HelpPageFor(int context) {
    switch (context) {
    case kMainWindowHelpContext:
        return "main-window.html";
    case kPreferencesHelpContext:
        return "preferences.html";
    default:
        return {};
    }
}

bool ShowHelpContents() {
    return ShowHelpPage(HelpFile);
}

bool ShowHelpContext(int context) {
    const std::string page = HelpPageFor(context);
    if (page.empty())
        return false;
    return ShowHelpPage(HelpDirectory() + page);
}

THelpWindow* CurrentHelpWindow() {
    return HelpWindowInstance().data();
}

void CloseHelpWindow() {
    delete HelpWindowInstance().data();
}

void SetHelpContext(QWidget& window, int context) {
    window.setProperty(kHelpContextProperty, context);
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, &window, [&window] {
        if (const int found = HelpContextAt(window); found != 0)
            ShowHelpContext(found);
    });
}

} // namespace kelvane
