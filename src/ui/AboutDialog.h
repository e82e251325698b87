// The About box: version, system, memory and the web link.
#pragma once

#include "ui/ModalForm.h"

namespace kelvane {

class TAbout : public TModalForm {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);
};

extern TAbout* About;

} // namespace kelvane
