// SPDX-License-Identifier: GPL-3.0-or-later
// The passphrase of a conversion to age, asked twice, with a word on what
// age is and what happens to the crypted files.
#pragma once

#include "ui/ModalForm.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane {

class TAgePassphrase : public TModalForm {
    Q_OBJECT
public:
    explicit TAgePassphrase(QWidget* parent = nullptr);

    // Shows the dialog until two equal, non-empty passphrases are entered or
    // the user cancels; false on Cancel. The fields are cleared afterwards.
    bool Ask(std::string& passphrase);

    QLabel* Label1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* OK;
    QPushButton* Cancel;

protected:
    void FormActivate() override;
};

} // namespace kelvane
