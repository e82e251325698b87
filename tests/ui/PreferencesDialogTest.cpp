// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreferencesDialog.h"

#include "commands/Settings.h"
#include "support/ScriptedDialogs.h"
#include "ui/WindowState.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

class PreferencesDialogTest : public testing::Test {
protected:
    PreferencesDialogTest() { ResetWindowState(); }
    ~PreferencesDialogTest() override { ResetWindowState(); }

    // Runs the dialog; `user` acts on it before the button is pressed.
    void Run(std::function<void()> user, QPushButton* TPreferences::*button) {
        dialogs.Expect("Preferences", [this, user, button](TModalForm&) {
            user();
            (dialog.*button)->click();
        });
        RunPreferences(dialog, [this] { ++refreshes; });
    }

    bool Shown(QWidget* w) const { return !w->isHidden(); }

    TPreferences dialog;
    int refreshes = 0;
    testing_support::ScriptedDialogs dialogs;
};

TEST_F(PreferencesDialogTest, SessionPasswordReplacesTheListBoxWithTheExpiryPanel) {
    dialog.OnePerList_CheckBox->setChecked(true);
    dialog.OnePwd_CheckBox->setChecked(true);
    EXPECT_FALSE(dialog.OnePerList_CheckBox->isChecked());
    EXPECT_FALSE(dialog.OnePerList_CheckBox->isEnabled());
    EXPECT_FALSE(Shown(dialog.OnePerList_CheckBox));
    EXPECT_TRUE(dialog.Panel1->isEnabled());
    EXPECT_TRUE(Shown(dialog.Panel1));

    dialog.OnePwd_CheckBox->setChecked(false);
    EXPECT_TRUE(Shown(dialog.OnePerList_CheckBox));
    EXPECT_TRUE(dialog.OnePerList_CheckBox->isEnabled());
    EXPECT_FALSE(dialog.OnePerList_CheckBox->isChecked());
    EXPECT_FALSE(Shown(dialog.Panel1));
}

TEST_F(PreferencesDialogTest, LoadingAppliesTheRuleSoTheOptionsExcludeEachOther) {
    ShowCry = 1;
    OnePassword = 1;
    OnePerList = 1;
    Expire = 15;
    Run(
        [&] {
            EXPECT_TRUE(dialog.ShowCry_CheckBox->isChecked());
            EXPECT_TRUE(dialog.OnePwd_CheckBox->isChecked());
            EXPECT_FALSE(dialog.OnePerList_CheckBox->isChecked());
            EXPECT_TRUE(Shown(dialog.Panel1));
            EXPECT_EQ(dialog.Expire_SpinEdit->value(), 15);
        },
        &TPreferences::Button1);
    EXPECT_EQ(OnePerList, 0);
    EXPECT_EQ(OnePassword, 1);
    EXPECT_EQ(Expire, 15);
    EXPECT_EQ(refreshes, 1);

    OnePassword = 0;
    OnePerList = 1;
    Run(
        [&] {
            EXPECT_FALSE(dialog.OnePwd_CheckBox->isChecked());
            EXPECT_TRUE(dialog.OnePerList_CheckBox->isChecked());
            EXPECT_FALSE(Shown(dialog.Panel1));
            EXPECT_FALSE(dialog.Panel1->isEnabled());
        },
        &TPreferences::Button1);
    EXPECT_EQ(OnePerList, 1);
}

TEST_F(PreferencesDialogTest, OkStoresResetValueAndCancelKeepsAllFourButRefreshes) {
    OnePassword = 1;
    Expire = 45;
    Run(
        [&] {
            dialog.ShowCry_CheckBox->setChecked(true);
            dialog.Button3->click();
            EXPECT_EQ(dialog.Expire_SpinEdit->value(), 0);
            dialog.Expire_SpinEdit->setValue(30);
        },
        &TPreferences::Button2);
    EXPECT_EQ(ShowCry, 0);
    EXPECT_EQ(OnePassword, 1);
    EXPECT_EQ(OnePerList, 0);
    EXPECT_EQ(Expire, 45);
    EXPECT_EQ(refreshes, 1);

    Run(
        [&] {
            dialog.ShowCry_CheckBox->setChecked(true);
            dialog.Button3->click();
        },
        &TPreferences::Button1);
    EXPECT_EQ(ShowCry, 1);
    EXPECT_EQ(Expire, 0);
    EXPECT_EQ(refreshes, 2);
}

} // namespace
} // namespace kelvane
