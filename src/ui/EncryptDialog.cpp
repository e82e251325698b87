// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EncryptDialog.h"

#include "crypto/PasswordRules.h"
#include "crypto/Translate.h"
#include "platform/MessageSeam.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvane {

TEncrypt* Encrypt = nullptr;

TEncrypt::TEncrypt(QWidget* parent)
    : TPasswordForm(
          parent, QCoreApplication::translate("EncryptDialog", "Encryption procedure"),
          QCoreApplication::translate("EncryptDialog", "You are to assign a password for the file"),
          170) {
    // "simbols" is spelled as the program has always shown it: users know the
    // dialog by it, so it is not corrected.
    Label1 = new QLabel(
        //: "simbols" stays misspelled in English only; spell the translation correctly.
        QCoreApplication::translate("EncryptDialog", "Enter the password (6 - 8) simbols"), this);
    Label1->move(64, 58);
    Label1->adjustSize();
    MaskEdit1->move(64, 76);
    Label5 = new QLabel(
        QCoreApplication::translate("EncryptDialog", "Reenter the password for verification"),
        this);
    Label5->move(64, 110);
    Label5->adjustSize();
    MaskEdit2 = NewPasswordField(this);
    MaskEdit2->move(64, 128);
    Label1->setBuddy(MaskEdit1);
    MaskEdit1->setAccessibleName(Label1->text());
    Label5->setBuddy(MaskEdit2);
    MaskEdit2->setAccessibleName(Label5->text());
    setTabOrder(MaskEdit1, MaskEdit2);
    setTabOrder(MaskEdit2, Button2);
    setTabOrder(Button2, Button1);
    setTabOrder(Button1, CheckBox1);
}

void TEncrypt::Button2Click() {
    const QString first = MaskEdit1->text();
    if (RefuseForeignCharacters(first))
        return;
    if (CheckPassword(Utf16Of(first)) != PasswordCheck::Ok || first != MaskEdit2->text()) {
        ShowError(Tr("EncryptDialog", "Verification failed."));
        return;
    }
    SetModalResult(mrOk);
}

void TEncrypt::ClearFields() {
    TPasswordForm::ClearFields();
    WipeField(MaskEdit2);
}

} // namespace kelvane
