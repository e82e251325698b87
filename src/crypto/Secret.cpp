// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Secret.h"

namespace kelvane {

SecretString& SecretString::operator=(std::string_view text) {
    Wipe();
    text_.assign(text);
    return *this;
}

SecretString& SecretString::operator=(SecretString&& other) noexcept {
    Wipe();
    text_.swap(other.text_);
    return *this;
}

void SecretString::Wipe() {
    // Growing within the capacity never moves the text, so the resize
    // reaches every byte a longer secret may have left.
    text_.resize(text_.capacity());
    SecureWipe(text_.data(), text_.size());
    text_.clear();
}

} // namespace kelvane
