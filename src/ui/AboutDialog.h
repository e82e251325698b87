// SPDX-License-Identifier: GPL-3.0-or-later
// The About box: the product, the cipher it is based on, the system's
// version and memory, and the link to the product's web page.
#pragma once

#include "crypto/Translate.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "ui/ModalForm.h"

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPushButton;

namespace kelvane {

inline constexpr const char* kNoBrowserMessage =
    KELVANE_TR_NOOP("AboutDialog", "Sorry, but couldn't launch Html browser");

// The product's web address, fixed when the program is built.
const char* WebAddress();

// How the web link reaches a browser. The program's own routes by default;
// tests put stand-ins in their place.
struct WebLauncher {
    // The registry that may name the browser's command line.
    std::function<std::unique_ptr<Registry>()> openRegistry = OpenClassesRoot;
    // Starts a command line as a program (no shell); false when it can't.
    std::function<bool(const std::string& commandLine)> startProgram;
    // Hands the address to the desktop's default browser; false when there
    // is none.
    std::function<bool(const std::string& address)> openInDefaultBrowser;

    WebLauncher();
};

// Splits a command line the way a registry's command is written (double
// quotes group words) and starts it without a shell and without waiting.
bool StartCommandLine(const std::string& commandLine);

// "<bytes / 1024>" with no separators, as the box shows the memory.
std::string MemoryText(uint64_t totalBytes);

class TAbout : public TModalForm {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);
    ~TAbout() override;

    QLabel* Image1;
    QLabel* Label1;     // "Kelvane 95"
    QLabel* Label2;     // "based on "
    QLabel* Label3;     // "DES"
    QLabel* Label10;    // "Visit our Web page:"
    QLabel* Http_Label; // the web address
    QLabel* Label5;     // "OS version:"
    QLabel* Label6;     // the version text
    QLabel* Label7;     // "Total memory , Kb:"
    QLabel* Label9;     // the memory figure
    QPushButton* Button1;

    // Reads the system's version and memory again into Label6 and Label9.
    void ShowFigures();

    void Http_LabelClick();
    void Http_LabelMouseMove();
    void FormMouseMove();
    void Label10MouseMove();
    void FormClose();

    // Whether the help cursor is what the program shows now.
    bool HelpCursorShown() const { return helpCursorShown_; }

    // Where the figures and the browser come from; tests replace them.
    SystemInfo* System;
    WebLauncher Launcher;

    void done(int result) override;

protected:
    void FormActivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void CreateTitle();
    void CreateLink();
    void CreateFigures();
    void SetHelpCursor(bool help);

    bool helpCursorShown_ = false;
};

extern TAbout* About;

} // namespace kelvane
