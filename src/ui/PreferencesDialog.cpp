// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreferencesDialog.h"

#include "commands/Settings.h"
#include "ui/HelpWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

namespace kelvane {

TPreferences* Preferences = nullptr;

TPreferences::TPreferences(QWidget* parent) : TModalForm(parent) {
    setWindowTitle(QCoreApplication::translate("PreferencesDialog", "Preferences"));
    SetDialogFrame(CloseBox::Yes);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(10, 8, 330, 112);
    ShowCry_CheckBox =
        new QCheckBox(QCoreApplication::translate("PreferencesDialog",
                                                  "Show \".cry\" extensions for crypted files"),
                      GroupBox1);
    ShowCry_CheckBox->setGeometry(12, 14, 306, 24);
    OnePwd_CheckBox = new QCheckBox(
        QCoreApplication::translate("PreferencesDialog", "One password for a session"), GroupBox1);
    OnePwd_CheckBox->setGeometry(12, 44, 306, 24);
    OnePerList_CheckBox = new QCheckBox(
        QCoreApplication::translate("PreferencesDialog", "One password for a file list"),
        GroupBox1);
    OnePerList_CheckBox->setGeometry(12, 74, 306, 28);

    Panel1 = new QFrame(GroupBox1);
    Panel1->setGeometry(OnePerList_CheckBox->geometry());
    Label1 = new QLabel(QCoreApplication::translate("PreferencesDialog", "expires in"), Panel1);
    Label1->setGeometry(20, 4, 62, 20);
    Expire_SpinEdit = new QSpinBox(Panel1);
    Expire_SpinEdit->setRange(0, 600);
    Expire_SpinEdit->setValue(0);
    Expire_SpinEdit->setGeometry(84, 0, 64, 26);
    Label1->setBuddy(Expire_SpinEdit);
    Expire_SpinEdit->setAccessibleName(
        QCoreApplication::translate("PreferencesDialog", "expires in (minutes)"));
    Label2 = new QLabel(QCoreApplication::translate("PreferencesDialog", "minutes"), Panel1);
    Label2->setGeometry(154, 4, 56, 20);
    Button3 =
        new QPushButton(QCoreApplication::translate("PreferencesDialog", "&Reset value"), Panel1);
    Button3->setGeometry(214, 0, 90, 26);
    Button3->setAutoDefault(false);
    Panel1->setEnabled(false);
    Panel1->hide();

    Button1 = new QPushButton(QCoreApplication::translate("PreferencesDialog", "&Ok"), this);
    Button1->setGeometry(86, 132, 84, 26);
    Button1->setDefault(true);
    Button2 = new QPushButton(QCoreApplication::translate("PreferencesDialog", "&Cancel"), this);
    Button2->setGeometry(180, 132, 84, 26);
    Button2->setAutoDefault(false);
    setFixedSize(350, 170);
    SetHelpContext(*this, HelpContext);

    connect(OnePwd_CheckBox, &QCheckBox::toggled, this, [this] { OnePwd_CheckBoxClick(); });
    connect(OnePerList_CheckBox, &QCheckBox::toggled, this, [this] { OnePwd_CheckBoxClick(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    connect(Button2, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
}

void TPreferences::OnePwd_CheckBoxClick() {
    const bool session = OnePwd_CheckBox->isChecked();
    Panel1->setEnabled(session);
    Panel1->setVisible(session);
    OnePerList_CheckBox->setEnabled(!session);
    OnePerList_CheckBox->setVisible(!session);
    if (!OnePerList_CheckBox->isEnabled())
        OnePerList_CheckBox->setChecked(false);
    else
        OnePwd_CheckBox->setChecked(false);
}

void TPreferences::Button3Click() {
    Expire_SpinEdit->setValue(0);
}

void TPreferences::LoadPreferences() {
    ShowCry_CheckBox->setChecked(ShowCry > 0);
    OnePwd_CheckBox->setChecked(OnePassword > 0);
    OnePerList_CheckBox->setChecked(OnePerList > 0);
    Expire_SpinEdit->setValue(Expire);
    Panel1->setEnabled(OnePassword > 0);
}

void TPreferences::StorePreferences() const {
    ShowCry = ShowCry_CheckBox->isChecked() ? 1 : 0;
    OnePassword = OnePwd_CheckBox->isChecked() ? 1 : 0;
    OnePerList = OnePerList_CheckBox->isChecked() ? 1 : 0;
    bool number = false;
    const int minutes = Expire_SpinEdit->cleanText().toInt(&number);
    Expire = number ? minutes : 0;
}

void TPreferences::FormActivate() {
    CentreOnScreen();
}

void RunPreferences(TPreferences& dialog, const std::function<void()>& refreshLists) {
    dialog.LoadPreferences();
    if (dialog.ShowModal() == mrOk)
        dialog.StorePreferences();
    if (refreshLists)
        refreshLists();
}

} // namespace kelvane
