// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own 32-bit check value. It is built on the reflected CRC-32
// table but starts from 0, is not inverted, and indexes the table image by
// byte offset, so its values are not the standard CRC-32's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelvane {

// Check value of `count` bytes at `data`; an absent run or a count of 0 gives 0.
uint32_t Crc32Of(const void* data, uint32_t count);

// Continues a check value over more bytes, so a large run can be processed
// in slices: Crc32Continue(Crc32Continue(0, a), b) equals Crc32Of(a + b).
uint32_t Crc32Continue(uint32_t crc, const uint8_t* data, std::size_t count);

// W(i): the little-endian word at byte offset i of the table's 1024-byte image.
uint32_t Crc32TableWord(int i);

} // namespace kelvane
