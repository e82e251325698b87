// SPDX-License-Identifier: GPL-3.0-or-later
// Case folding of the ASCII letters only. File names and registry keys are
// bytes: folding other letters would depend on the locale and on an encoding
// the names do not promise.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kelvane {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = AsciiLower(c);
    return lowered;
}

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace kelvane
