// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageBoxes.h"

#include "ui/Fonts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace kelvane {

namespace {

// A box wraps its text at spaces only, so a long file name ran off its
// right edge. Runs longer than a line may break anywhere: a zero-width
// space after each of their characters allows it without showing.
QString BreakableText(const std::string& text) {
    constexpr int kLongestUnbroken = 40;
    const QString source = QString::fromStdString(text);
    QString result;
    result.reserve(source.size() * 2);
    int start = 0;
    while (start < source.size()) {
        int end = start;
        while (end < source.size() && !source[end].isSpace())
            ++end;
        const QStringView word = QStringView(source).mid(start, end - start);
        if (word.size() > kLongestUnbroken) {
            for (QChar c : word) {
                result += c;
                result += QChar(0x200B);
            }
        } else {
            result += word;
        }
        if (end < source.size())
            result += source[end];
        start = end + 1;
    }
    return result;
}

} // namespace

int ShowMessageBox(const MessageRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    // Not the desktop's font for message boxes: the program's, like its
    // other windows.
    WearWindowFont(box);
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
    // A box is not a window to minimise or maximise.
    box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                       Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
    box.setTextFormat(Qt::PlainText);
    box.setText(BreakableText(request.text));

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
            box.button(c.standard)->setText(QCoreApplication::translate("MessageBoxes", "&All"));
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
