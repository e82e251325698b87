// The question before Encrypt All or Decrypt All walks a tree.
#pragma once

#include "ui/ModalForm.h"

namespace kelvane {

class TPasswordPrompt : public TModalForm {
    Q_OBJECT
public:
    explicit TPasswordPrompt(QWidget* parent = nullptr);
};

extern TPasswordPrompt* PasswordPrompt;

} // namespace kelvane
