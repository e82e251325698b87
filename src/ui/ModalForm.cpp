// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ModalForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <utility>

namespace kelvane {
namespace {

ModalResponder& Responder() {
    static ModalResponder responder;
    return responder;
}

} // namespace

TModalForm::TModalForm(QWidget* parent) : QDialog(parent) {}

int TModalForm::ShowModal() {
    setResult(mrNone);
    activatedThisShowing_ = false;
    int answer;
    if (const ModalResponder& responder = Responder()) {
        activatedThisShowing_ = true;
        FormActivate();
        answer = responder(*this);
        if (isVisible())
            hide();
    } else {
        answer = exec();
    }
    // Rejected (Escape, the close box) reads as Cancel.
    return answer == mrNone ? mrCancel : answer;
}

void TModalForm::SetDialogFrame(CloseBox closeBox) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                            Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox == CloseBox::Yes)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    setWindowFlags(flags);
}

void TModalForm::CentreOnScreen() {
    if (lastPlace_) {
        // The client area's own place: a frame position would be read by
        // some window managers as the client's, and each showing would
        // then move the dialog down by the height of its title bar.
        setGeometry(QRect(*lastPlace_, size()));
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TModalForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    lastPlace_ = geometry().topLeft();
}

void TModalForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activatedThisShowing_) {
        activatedThisShowing_ = true;
        FormActivate();
    }
}

ModalResponder SetModalResponder(ModalResponder responder) {
    return std::exchange(Responder(), std::move(responder));
}

} // namespace kelvane
