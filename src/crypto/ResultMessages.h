// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "crypto/CryptResult.h"

#include <optional>
#include <string>

namespace kelvane {

// The user's message for an engine result about `fileName`, or nothing for
// success and for codes that have no message.
std::optional<std::string> ResultMessageText(CryptResult code, const std::string& fileName);

} // namespace kelvane
