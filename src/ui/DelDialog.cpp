#include "ui/DelDialog.h"

namespace kelvane {

TDelDialog* DelDialog = nullptr;

TDelDialog::TDelDialog(QWidget* parent) : TModalForm(parent) {
    setWindowTitle("Confirmation");
}

} // namespace kelvane
