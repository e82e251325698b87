// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/SecureWipe.h"

#include <cstring>

namespace kelvane {

void SecureWipe(void* data, std::size_t size) {
    if (data != nullptr && size > 0)
        explicit_bzero(data, size);
}

} // namespace kelvane
