// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DelDialog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace kelvane {

TDelDialog* DelDialog = nullptr;

TDelDialog::TDelDialog(QWidget* parent) : TModalForm(parent) {
    setWindowTitle(QCoreApplication::translate("DelDialog", "Confirmation"));
    SetDialogFrame(CloseBox::Yes);
    setFixedSize(243, 168);

    Label1 = new QLabel(QCoreApplication::translate("DelDialog", "Are you sure to delete the file"),
                        this);
    Label1->move(20, 24);
    Label1->adjustSize();
    Label2 = new QLabel(this);
    Label2->move(20, 44);
    Label2->setTextFormat(Qt::PlainText);

    auto button = [this](const QString& caption, int left, int top, int result) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(left, top, 75, 25);
        connect(b, &QPushButton::clicked, this, [this, result] { SetModalResult(result); });
        return b;
    };
    // Created in tab order: "&Ok" first, so it has the focus on opening.
    Button1 = button(QCoreApplication::translate("DelDialog", "&Ok"), 40, 80, mrOk);
    Button2 = button(QCoreApplication::translate("DelDialog", "&Cancel"), 120, 80, mrCancel);
    Button3 = button(QCoreApplication::translate("DelDialog", "Delete &All"), 40, 108, mrAll);
    Button4 = button(QCoreApplication::translate("DelDialog", "Ca&ncel All"), 120, 108, mrAbort);
}

int TDelDialog::Ask(const std::string& shownName) {
    Label2->setText(QString::fromStdString(shownName));
    Label2->adjustSize();
    return ShowModal();
}

void TDelDialog::FormActivate() {
    Button1->setFocus();
    CentreOnScreen();
}

} // namespace kelvane
