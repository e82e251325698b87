// SPDX-License-Identifier: GPL-3.0-or-later
// Passwords are keys of 8-bit characters in Windows-1252, one byte per
// character, so a crypted file opens with the same password everywhere.
#pragma once

#include <cstdint>
#include <optional>

namespace kelvane {

// The Windows-1252 byte of a character, or nothing when the code page lacks it.
std::optional<uint8_t> Windows1252ByteOf(char32_t c);

} // namespace kelvane
