#include "ui/ModalForm.h"

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
