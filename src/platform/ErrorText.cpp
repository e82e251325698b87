// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ErrorText.h"

#include <cstring>

namespace kelvane {

std::string ErrorText(int error) {
    char buffer[128];
    // The GNU form: it returns a static text, or one it wrote into buffer.
    return ::strerror_r(error, buffer, sizeof buffer);
}

} // namespace kelvane
