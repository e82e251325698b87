// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/SelfTest.h"

#include "crypto/Crc32.h"
#include "crypto/Des.h"
#include "crypto/DesPaths.h"

#include <cstring>

namespace kelvane {

bool CryptoSelfTest() {
    const auto& [key, plain, cipher] = kFips81Pair;
    uint8_t out[8];
    DesBlock(plain, out, key, 1);
    if (std::memcmp(out, cipher, 8) != 0)
        return false;
    // The loop a run of blocks takes where no bitsliced path serves. Each
    // bitsliced path checks itself the same way before its first use.
    constexpr int kBlocks = 8;
    uint8_t blocks[256];
    for (std::size_t at = 0; at < sizeof blocks; at += 8)
        std::memcpy(blocks + at, cipher, 8);
    const DesKeySchedule schedule(key);
    DesCryptBlocksWith(DesPath::Table, schedule, blocks, kBlocks, false);
    for (int i = 0; i < kBlocks; ++i)
        if (std::memcmp(blocks + 8 * i, plain, 8) != 0)
            return false;
    DesCryptBlocksWith(DesPath::Table, schedule, blocks, kBlocks, true);
    for (int i = 0; i < kBlocks; ++i)
        if (std::memcmp(blocks + 8 * i, cipher, 8) != 0)
            return false;
    if (Crc32Of("abc", 3) != 0x5C6277B7u)
        return false;
    // A longer run through the checksum's fast loop against the rule itself.
    uint32_t expected = 0;
    for (int n = 0; n < 256; ++n)
        expected =
            (expected >> 8) ^ Crc32TableWord(static_cast<int>((expected ^ blocks[n]) & 0xFF));
    return Crc32Of(blocks, 256) == expected;
}

} // namespace kelvane
