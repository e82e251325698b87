#include "ui/DecryptDialog.h"

namespace kelvane {

TDecrypt* Decrypt = nullptr;

TDecrypt::TDecrypt(QWidget* parent) : TModalForm(parent) {
    setWindowTitle("Decryption procedure");
}

} // namespace kelvane
