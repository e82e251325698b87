// The password dialog of a decryption: the password typed once.
#pragma once

#include "ui/ModalForm.h"

namespace kelvane {

class TDecrypt : public TModalForm {
    Q_OBJECT
public:
    explicit TDecrypt(QWidget* parent = nullptr);
};

extern TDecrypt* Decrypt;

} // namespace kelvane
