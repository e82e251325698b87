// The Preferences dialog: the four preferences of the run.
#pragma once

#include "ui/ModalForm.h"

namespace kelvane {

class TPreferences : public TModalForm {
    Q_OBJECT
public:
    explicit TPreferences(QWidget* parent = nullptr);
};

extern TPreferences* Preferences;

} // namespace kelvane
