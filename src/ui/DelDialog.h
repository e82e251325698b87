// SPDX-License-Identifier: GPL-3.0-or-later
// The question before a file is deleted: delete it, keep it, delete all the
// rest without asking, or stop.
#pragma once

#include "ui/ModalForm.h"

class QLabel;
class QPushButton;

namespace kelvane {

class TDelDialog : public TModalForm {
    Q_OBJECT
public:
    explicit TDelDialog(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;       // the shown name of the file in question
    QPushButton* Button1; // "&Ok"
    QPushButton* Button2; // "&Cancel", also Escape
    QPushButton* Button3; // "Delete &All"
    QPushButton* Button4; // "Ca&ncel All"

    // Puts the name in place and shows the dialog: mrOk, mrCancel (also
    // Escape and the close box), mrAll or mrAbort.
    int Ask(const std::string& shownName);

protected:
    void FormActivate() override;
};

extern TDelDialog* DelDialog;

} // namespace kelvane
