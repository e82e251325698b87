// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Windows1252.h"

namespace kelvane {
namespace {

// The characters behind the bytes 80h..9Fh; 0 where the code page has none.
constexpr char32_t kHighRow[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

std::optional<uint8_t> Windows1252ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<uint8_t>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighRow[i] != 0 && kHighRow[i] == c)
            return static_cast<uint8_t>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace kelvane
