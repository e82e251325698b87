// SPDX-License-Identifier: GPL-3.0-or-later
// The password dialog of an encryption: the password typed twice.
#pragma once

#include "ui/PasswordForm.h"

namespace kelvane {

class TEncrypt : public TPasswordForm {
    Q_OBJECT
public:
    explicit TEncrypt(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label5;
    QLineEdit* MaskEdit2;

    void Button2Click() override;
    void ClearFields() override;
};

extern TEncrypt* Encrypt;

} // namespace kelvane
