// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PasswordPromptDialog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace kelvane {

TPasswordPrompt* PasswordPrompt = nullptr;

TPasswordPrompt::TPasswordPrompt(QWidget* parent) : TModalForm(parent) {
    setWindowTitle(QCoreApplication::translate("PasswordPromptDialog", "Confirmation"));
    // The close box only: no maximise, no resizing.
    SetDialogFrame(CloseBox::Yes);
    setFixedSize(380, 112);

    Label1 = new QLabel(QCoreApplication::translate(
                            "PasswordPromptDialog",
                            "You will be prompted to assign a password for any found file."),
                        this);
    Label1->setGeometry(8, 10, 364, 30);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);

    Proceed =
        new QPushButton(QCoreApplication::translate("PasswordPromptDialog", "&Proceed"), this);
    Proceed->setGeometry(98, 46, 80, 25);
    Proceed->setDefault(true);
    Cancel = new QPushButton(QCoreApplication::translate("PasswordPromptDialog", "&Cancel"), this);
    Cancel->setGeometry(202, 46, 80, 25);
    Change = new QPushButton(
        QCoreApplication::translate("PasswordPromptDialog", "C&hange password \"expire\" option"),
        this);
    Change->setGeometry(83, 79, 214, 25);

    setTabOrder(Proceed, Cancel);
    setTabOrder(Cancel, Change);
    connect(Proceed, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    // Escape rejects the dialog, which reads as Cancel like this button.
    connect(Cancel, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
    connect(Change, &QPushButton::clicked, this, [this] { SetModalResult(mrYes); });
}

void TPasswordPrompt::FormActivate() {
    Proceed->setFocus();
    CentreOnScreen();
}

} // namespace kelvane
