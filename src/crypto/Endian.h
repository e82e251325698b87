// SPDX-License-Identifier: GPL-3.0-or-later
// Byte order spelled out: integers in files and cipher blocks are read and
// written byte by byte, never through a cast of a buffer to an integer
// pointer. The compilers turn each into a single load or store.
#pragma once

#include <cstdint>

namespace kelvane {

inline uint16_t load16_le(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline void store16_le(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline uint32_t load32_le(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline void store32_le(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint64_t load64_le(const uint8_t* p) {
    return uint64_t{load32_le(p)} | uint64_t{load32_le(p + 4)} << 32;
}

inline void store64_le(uint8_t* p, uint64_t v) {
    store32_le(p, static_cast<uint32_t>(v));
    store32_le(p + 4, static_cast<uint32_t>(v >> 32));
}

// DES numbers its bits from the first byte's most significant bit.
inline uint64_t load64_be(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

inline void store64_be(uint8_t* p, uint64_t v) {
    for (int i = 7; i >= 0; --i, v >>= 8)
        p[i] = static_cast<uint8_t>(v);
}

} // namespace kelvane
