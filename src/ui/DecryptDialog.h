// SPDX-License-Identifier: GPL-3.0-or-later
// The password dialog of a decryption: the password typed once.
#pragma once

#include "ui/PasswordForm.h"

namespace kelvane {

class TDecrypt : public TPasswordForm {
    Q_OBJECT
public:
    explicit TDecrypt(QWidget* parent = nullptr);

    void Button2Click() override;
};

extern TDecrypt* Decrypt;

} // namespace kelvane
