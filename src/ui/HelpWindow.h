// SPDX-License-Identifier: GPL-3.0-or-later
// The program's help: HTML pages installed beside the program, shown in a
// window of our own so that they read without a browser and without a
// network. HelpFile (the settings) names the contents page; the page of each
// help context lies beside it.
#pragma once

#include <QWidget>
#include <string>

class QPushButton;
class QTextBrowser;

namespace kelvane {

// The windows that carry a help context; F1 anywhere in them opens its page.
inline constexpr int kMainWindowHelpContext = 20;
inline constexpr int kPreferencesHelpContext = 80;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    QPushButton* Contents_Button;
    QPushButton* Back_Button;
    QPushButton* Forward_Button;
    QTextBrowser* Browser;

    // Shows the page and brings the window forward.
    void ShowPage(const std::string& path);
};

// The page of a help context ("main-window.html" for 20); empty for a
// context the help does not know.
std::string HelpPageFor(int context);

// The contents page, or the page of a context, of the help that HelpFile
// names. A missing page is reported to the user and nothing else happens;
// false then.
bool ShowHelpContents();
bool ShowHelpContext(int context);

// The help window once help has been shown, else null.
THelpWindow* CurrentHelpWindow();
// Closes and frees the help window; the program does so at its end.
void CloseHelpWindow();

// Gives a window its help context: F1 with the focus anywhere in it opens
// the page of the first context found from the focused control outward.
void SetHelpContext(QWidget& window, int context);

} // namespace kelvane
