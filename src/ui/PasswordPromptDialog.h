// SPDX-License-Identifier: GPL-3.0-or-later
// The warning before Encrypt All or Decrypt All walks a tree: a password
// will be asked for every file found, unless the user first switches to one
// password for the session.
#pragma once

#include "ui/ModalForm.h"

class QLabel;
class QPushButton;

namespace kelvane {

class TPasswordPrompt : public TModalForm {
    Q_OBJECT
public:
    explicit TPasswordPrompt(QWidget* parent = nullptr);

    QLabel* Label1;
    QPushButton* Proceed; // OK
    QPushButton* Cancel;  // Cancel, also the Escape key and the close box
    QPushButton* Change;  // Yes: the preferences first

protected:
    void FormActivate() override;
};

extern TPasswordPrompt* PasswordPrompt;

} // namespace kelvane
