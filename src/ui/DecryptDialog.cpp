// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DecryptDialog.h"

#include "crypto/PasswordRules.h"
#include "platform/MessageSeam.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

namespace kelvane {

TDecrypt* Decrypt = nullptr;

TDecrypt::TDecrypt(QWidget* parent)
    : TPasswordForm(parent, QCoreApplication::translate("DecryptDialog", "Decryption procedure"),
                    QCoreApplication::translate("DecryptDialog",
                                                "You are to enter a valid password for the file"),
                    104) {
    MaskEdit1->move(64, 68);
    setTabOrder(MaskEdit1, Button2);
    setTabOrder(Button2, Button1);
    setTabOrder(Button1, CheckBox1);
}

void TDecrypt::Button2Click() {
    const QString text = MaskEdit1->text();
    if (RefuseForeignCharacters(text))
        return;
    // A wrong length is refused without a word.
    if (CheckPassword(Utf16Of(text)) == PasswordCheck::Ok)
        SetModalResult(mrOk);
}

} // namespace kelvane
