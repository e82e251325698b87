// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Crc32.h"

#include <cstdint>

namespace kelvane {
namespace {

constexpr std::array<uint32_t, 256> MakeReflectedTable() {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t v = n;
        for (int i = 0; i < 8; ++i)
            v = (v & 1) ? (v >> 1) ^ 0xEDB88320u : v >> 1;
        t[n] = v;
    }
    return t;
}

// Reads the table as its little-endian byte image, four bytes from offset i.
// Index 255 reads bytes 255..258, all inside the image.
constexpr std::array<uint32_t, 256> MakeTableWords() {
    constexpr auto t = MakeReflectedTable();
    std::array<uint8_t, 1024> image{};
    for (std::size_t n = 0; n < 256; ++n)
        for (std::size_t b = 0; b < 4; ++b)
            image[4 * n + b] = static_cast<uint8_t>(t[n] >> (8 * b));
    std::array<uint32_t, 256> w{};
    for (std::size_t i = 0; i < 256; ++i)
        w[i] = uint32_t{image[i]} | uint32_t{image[i + 1]} << 8 | uint32_t{image[i + 2]} << 16 |
               uint32_t{image[i + 3]} << 24;
    return w;
}

constexpr std::array<uint32_t, 256> kW = MakeTableWords();

static_assert(kW[0] == 0 && kW[1] == 0x96000000u && kW[2] == 0x30960000u && kW[3] == 0x07309600u &&
              kW[4] == 0x77073096u);

// With crc' = (crc >> 8) xor W(i), the next index is the low byte of W(i)
// xor a byte known one step earlier. So the loop carries only the index from
// byte to byte, and carries it as the address of the index's entry: each
// entry points to the entry of its word's low byte, and the byte known
// earlier is xored into that address. The chain is then one load with the
// simplest addressing, which the processor serves fastest, and one xor. The
// upper bytes of the running value follow beside that chain.
struct alignas(16) ChainEntry {
    const ChainEntry* next; // the entry of W(i)'s low byte
    uint32_t word;          // W(i)
};
constexpr std::size_t kChainBytes = 256 * sizeof(ChainEntry);
static_assert(sizeof(ChainEntry) == 16);

// Aligned to its own size, so an xor of (index << 4) into an entry's address
// gives the address of another entry of the table, never anything outside.
const ChainEntry* Chain() {
    alignas(kChainBytes) static ChainEntry table[256];
    static const bool filled = [] {
        for (std::size_t i = 0; i < 256; ++i)
            table[i] = {&table[kW[i] & 0xFF], kW[i]};
        return true;
    }();
    (void)filled;
    return table;
}

const ChainEntry* WithIndexXored(const ChainEntry* entry, uint64_t index) {
    return reinterpret_cast<const ChainEntry*>(reinterpret_cast<uintptr_t>(entry) ^ (index << 4));
}

} // namespace

uint32_t Crc32Continue(uint32_t crc, const uint8_t* data, std::size_t count) {
    if (count == 0)
        return crc;
    const ChainEntry* entry = &Chain()[(crc ^ data[0]) & 0xFF];
    uint64_t high = crc >> 8;
    for (std::size_t n = 1; n < count; ++n) {
        const uint64_t carried = (high ^ data[n]) & 0xFF;
        high = (high ^ entry->word) >> 8;
        entry = WithIndexXored(entry->next, carried);
    }
    return static_cast<uint32_t>(high ^ entry->word);
}

uint32_t Crc32Of(const void* data, uint32_t count) {
    if (data == nullptr || count == 0)
        return 0;
    return Crc32Continue(0, static_cast<const uint8_t*>(data), count);
}

uint32_t Crc32TableWord(int i) {
    return kW[static_cast<std::size_t>(i) & 0xFF];
}

} // namespace kelvane
