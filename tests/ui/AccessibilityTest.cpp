// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader hears: every control that can take the keyboard focus,
// in every window of the program, has a name.
#include "WindowFixture.h"
#include "ui/AboutDialog.h"
#include "ui/ComboChangeDialog.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/HelpWindow.h"
#include "ui/PasswordPromptDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QAccessible>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelvane {
namespace {

using testing_support::WindowTest;

// The focusable controls of `window` whose accessible name is empty. A
// control that hands its focus to another (a spin box's text field) is
// named by that one.
std::vector<std::string> Unnamed(QWidget& window) {
    std::vector<std::string> unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() != &window || widget->focusPolicy() == Qt::NoFocus ||
            widget->focusProxy() != nullptr)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.push_back(widget->metaObject()->className() + std::string(" at ") +
                              std::to_string(widget->x()) + "," + std::to_string(widget->y()));
    }
    return unnamed;
}

class AccessibilityTest : public WindowTest {};

TEST_F(AccessibilityTest, EveryFocusableControlOfEveryWindowHasAName) {
    TMainWin& main = Open();
    TEncrypt encrypt;
    TDecrypt decrypt;
    TAbout about;
    TPreferences preferences;
    TDelDialog deletion;
    TPasswordPrompt prompt;
    TComboChange drive(drives);
    THelpWindow help;
    for (QWidget* topLevel : std::initializer_list<QWidget*>{
             &main, &encrypt, &decrypt, &about, &preferences, &deletion, &prompt, &drive, &help}) {
        SCOPED_TRACE(topLevel->windowTitle().toStdString());
        EXPECT_EQ(Unnamed(*topLevel), std::vector<std::string>{});
    }
    // The grids are named by the captions over them.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(main.StringGrid2)->text(QAccessible::Name),
              "Crypted files");
}

} // namespace
} // namespace kelvane
