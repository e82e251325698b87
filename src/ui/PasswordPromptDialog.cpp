#include "ui/PasswordPromptDialog.h"

namespace kelvane {

TPasswordPrompt* PasswordPrompt = nullptr;

TPasswordPrompt::TPasswordPrompt(QWidget* parent) : TModalForm(parent) {
    setWindowTitle("Confirmation");
}

} // namespace kelvane
