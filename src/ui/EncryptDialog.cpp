#include "ui/EncryptDialog.h"

namespace kelvane {

TEncrypt* Encrypt = nullptr;

TEncrypt::TEncrypt(QWidget* parent) : TModalForm(parent) {
    setWindowTitle("Encryption procedure");
}

} // namespace kelvane
