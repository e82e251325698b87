// The question before a file is deleted.
#pragma once

#include "ui/ModalForm.h"

namespace kelvane {

class TDelDialog : public TModalForm {
    Q_OBJECT
public:
    explicit TDelDialog(QWidget* parent = nullptr);
};

extern TDelDialog* DelDialog;

} // namespace kelvane
