#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace kelvane {

int ShowMessageBox(const MessageRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    switch (request.kind) {
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    box.setWindowTitle(QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));

    struct Choice {
        unsigned button;
        QMessageBox::StandardButton standard;
        int result;
    };
    static constexpr Choice kChoices[] = {
        {mbYes, QMessageBox::Yes, mrYes},       {mbNo, QMessageBox::No, mrNo},
        {mbOK, QMessageBox::Ok, mrOk},          {mbCancel, QMessageBox::Cancel, mrCancel},
        {mbAbort, QMessageBox::Abort, mrAbort}, {mbAll, QMessageBox::YesToAll, mrAll},
    };
    unsigned buttons = request.buttons != 0 ? request.buttons : unsigned(mbOK);
    for (const Choice& c : kChoices) {
        if ((buttons & c.button) == 0)
            continue;
        box.addButton(c.standard);
        if (c.button == mbAll)
            box.button(c.standard)->setText(QObject::tr("&All"));
    }
    if ((buttons & mbCancel) != 0)
        box.setEscapeButton(QMessageBox::Cancel);

    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const Choice& c : kChoices) {
        if (c.standard == pressed)
            return c.result;
    }
    return mrCancel; // closed without a button
}

void InstallMessageBoxes() {
    SetMessageResponder(ShowMessageBox);
}

} // namespace kelvane
