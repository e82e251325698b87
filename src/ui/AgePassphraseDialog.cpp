// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AgePassphraseDialog.h"

#include "crypto/Secret.h"
#include "crypto/Translate.h"
#include "platform/Utf16.h"
#include "ui/PasswordForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvane {

TAgePassphrase::TAgePassphrase(QWidget* parent) : TModalForm(parent) {
    setWindowTitle(QCoreApplication::translate("AgePassphraseDialog", "Convert to age"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(420, 238);

    Label1 =
        new QLabel(QCoreApplication::translate(
                       "AgePassphraseDialog",
                       "age is a modern, published file format that the \"age\" command and other "
                       "programs open. The converted files are protected by this passphrase; each "
                       "crypted file is deleted once its age file is verified and on disk.\n"
                       "A forgotten passphrase cannot be recovered."),
                   this);
    Label1->setGeometry(10, 8, 400, 110);
    Label1->setWordWrap(true);

    auto* label2 =
        new QLabel(QCoreApplication::translate("AgePassphraseDialog", "Passphrase:"), this);
    label2->setGeometry(10, 128, 130, 21);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(140, 128, 270, 21);
    Edit1->setEchoMode(QLineEdit::Password);
    auto* label3 =
        new QLabel(QCoreApplication::translate("AgePassphraseDialog", "Repeat passphrase:"), this);
    label3->setGeometry(10, 158, 130, 21);
    Edit2 = new QLineEdit(this);
    Edit2->setGeometry(140, 158, 270, 21);
    Edit2->setEchoMode(QLineEdit::Password);

    OK = new QPushButton(QCoreApplication::translate("AgePassphraseDialog", "OK"), this);
    OK->setGeometry(120, 198, 80, 25);
    OK->setDefault(true);
    Cancel = new QPushButton(QCoreApplication::translate("AgePassphraseDialog", "Cancel"), this);
    Cancel->setGeometry(220, 198, 80, 25);
    connect(OK, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    connect(Cancel, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
}

void TAgePassphrase::FormActivate() {
    Edit1->setFocus();
}

bool TAgePassphrase::Ask(SecretString& passphrase) {
    for (;;) {
        WipeField(Edit1);
        WipeField(Edit2);
        if (ShowModal() != mrOk) {
            WipeField(Edit1);
            WipeField(Edit2);
            return false;
        }
        const QString first = Edit1->text();
        const bool empty = first.isEmpty();
        const bool same = first == Edit2->text();
        if (!empty && same)
            AppendUtf8Of(Utf16Of(first), passphrase.Text());
        WipeField(Edit1);
        WipeField(Edit2);
        if (empty)
            ShowError(Tr("AgePassphraseDialog", "The passphrase is empty."));
        else if (!same)
            ShowError(Tr("AgePassphraseDialog", "The two passphrases differ."));
        else
            return true;
    }
}

const AgeTarget* TAgeTargetOfRun::Target() {
    if (asked_ == Asked::Not) {
        TAgePassphrase dialog(parent_);
        asked_ = dialog.Ask(passphrase_) ? Asked::Given : Asked::Cancelled;
        target_.passphrase = &passphrase_.Text();
    }
    return asked_ == Asked::Given ? &target_ : nullptr;
}

} // namespace kelvane
