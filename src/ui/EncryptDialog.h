// The password dialog of an encryption: the password typed twice.
#pragma once

#include "ui/ModalForm.h"

namespace kelvane {

class TEncrypt : public TModalForm {
    Q_OBJECT
public:
    explicit TEncrypt(QWidget* parent = nullptr);
};

extern TEncrypt* Encrypt;

} // namespace kelvane
