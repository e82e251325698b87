// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-16LE, the encoding of hex(1) and hex(2) values and of regedit's own
// exports, to and from the UTF-8 the program works in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Surrogate pairs become one code point; a lone surrogate is kept as its own
// three-byte sequence, so Utf8ToUtf16Le gives back exactly the units read.
// An odd last byte is dropped.
std::string Utf16LeToUtf8(const uint8_t* data, std::size_t size);

// Appends the UTF-16 `text` to `out` as UTF-8, as Utf16LeToUtf8 converts it,
// after reserving room for the longest result: a secret converted this way
// leaves no copy behind in a buffer the string outgrew.
void AppendUtf8Of(std::u16string_view text, std::string& out);

// Lenient: bytes that are not UTF-8 still become some unit, so only text that
// came from Utf16LeToUtf8 is sure to come back unchanged.
std::vector<uint8_t> Utf8ToUtf16Le(std::string_view text);

} // namespace kelvane
