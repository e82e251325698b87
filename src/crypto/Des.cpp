// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Des.h"

#include "crypto/DesBitslice.h"
#include "crypto/DesTables.h"
#include "crypto/Endian.h"
#include "crypto/SecureWipe.h"

#include <new>

namespace kelvane {
namespace {

using namespace des;

// ---- Derived tables: the bit permutations as byte lookups, S and P fused ----

// Bit n (1-based) of a 64-bit word whose bit 1 is the most significant.
constexpr uint64_t Bit64(int n) {
    return uint64_t{1} << (64 - n);
}

struct BytePermutation {
    uint64_t out[8][256];
};

// For each input byte position and value, the output bits that byte sets.
constexpr BytePermutation MakeBytePermutation(const uint8_t (&table)[64]) {
    BytePermutation p{};
    for (int outBit = 1; outBit <= 64; ++outBit) {
        const int inBit = table[outBit - 1];
        const int byte = (inBit - 1) / 8;
        const int mask = 0x80 >> ((inBit - 1) % 8);
        for (int v = 0; v < 256; ++v) {
            if (v & mask)
                p.out[byte][v] |= Bit64(outBit);
        }
    }
    return p;
}

// SP[k][six bits] = the S-box k output placed at bits 4k+1..4k+4 and then
// permuted through P, as a 32-bit word with bit 1 most significant.
struct SpBoxes {
    uint32_t box[8][64];
};

constexpr SpBoxes MakeSpBoxes() {
    SpBoxes sp{};
    for (int k = 0; k < 8; ++k) {
        for (int six = 0; six < 64; ++six) {
            const int row = ((six >> 4) & 2) | (six & 1);
            const int column = (six >> 1) & 15;
            const int value = kS[k][16 * row + column];
            uint32_t word = 0;
            for (int outBit = 1; outBit <= 32; ++outBit) {
                const int inBit = kP[outBit - 1]; // a position in the S-box output
                if ((inBit - 1) / 4 != k)
                    continue;
                if (value & (8 >> ((inBit - 1) % 4)))
                    word |= uint32_t{1} << (32 - outBit);
            }
            sp.box[k][six] = word;
        }
    }
    return sp;
}

constexpr BytePermutation kIPBytes = MakeBytePermutation(kIP);
constexpr BytePermutation kIPInverseBytes = MakeBytePermutation(kIPInverse);
constexpr SpBoxes kSP = MakeSpBoxes();

// The expansion E is regular: group k is R bits 4k..4k+5 (1-based, bit 0
// standing for bit 32), which a rotation brings to the low six bits.
static_assert(kE[0] == 32 && kE[47] == 1 && kE[6] == 4);

constexpr uint32_t RotateRight(uint32_t x, int n) {
    n &= 31;
    return n == 0 ? x : (x >> n) | (x << (32 - n));
}

inline uint64_t Permute(const BytePermutation& p, uint64_t word) {
    uint64_t out = 0;
    for (int byte = 0; byte < 8; ++byte)
        out |= p.out[byte][(word >> (56 - 8 * byte)) & 0xFF];
    return out;
}

inline uint32_t Feistel(uint32_t r, const std::array<uint8_t, 8>& roundKey) {
    uint32_t f = 0;
    for (int k = 0; k < 8; ++k) {
        const uint32_t group = RotateRight(r, 27 - 4 * k) & 0x3F;
        f |= kSP.box[k][group ^ roundKey[static_cast<std::size_t>(k)]];
    }
    return f;
}

uint64_t CryptOne(const DesKeySchedule& schedule, uint64_t block, bool encipher) {
    const uint64_t permuted = Permute(kIPBytes, block);
    uint32_t l = static_cast<uint32_t>(permuted >> 32);
    uint32_t r = static_cast<uint32_t>(permuted);
    for (int i = 0; i < 16; ++i) {
        const uint32_t f = Feistel(r, schedule.Round(encipher ? i : 15 - i));
        const uint32_t oldR = r;
        r = l ^ f;
        l = oldR;
    }
    const uint64_t preoutput = (uint64_t{r} << 32) | l;
    return Permute(kIPInverseBytes, preoutput);
}

} // namespace

DesKeySchedule::DesKeySchedule(const uint8_t key[8]) {
    const uint64_t k = load64_be(key);
    uint32_t c = 0, d = 0; // 28 bits each, bit 1 in bit 27
    for (int i = 0; i < 28; ++i) {
        c = (c << 1) | ((k & Bit64(kPC1[i])) ? 1 : 0);
        d = (d << 1) | ((k & Bit64(kPC1[28 + i])) ? 1 : 0);
    }
    for (std::size_t round = 0; round < 16; ++round) {
        for (int s = 0; s < kShifts[round]; ++s) {
            c = ((c << 1) | (c >> 27)) & 0x0FFFFFFF;
            d = ((d << 1) | (d >> 27)) & 0x0FFFFFFF;
        }
        const uint64_t cd = (uint64_t{c} << 28) | d; // bit 1 of C at bit 55
        for (std::size_t j = 0; j < 48; ++j) {
            const int bit = (cd >> (56 - kPC2[j])) & 1;
            rounds_[round][j / 6] = static_cast<uint8_t>((rounds_[round][j / 6] << 1) | bit);
        }
    }
    SecureWipe(&c, sizeof c);
    SecureWipe(&d, sizeof d);
}

DesKeySchedule::~DesKeySchedule() {
    SecureWipe(rounds_.data(), sizeof rounds_);
    for (Prepared& prepared : prepared_)
        if (prepared.constants != nullptr)
            SecureWipe(prepared.constants.get(), sizeof(bitslice::RoundConstants));
}

const bitslice::RoundConstants* DesKeySchedule::Constants(bool encipher, bool folded) const {
    Prepared& prepared = prepared_[(encipher ? 2u : 0u) + (folded ? 1u : 0u)];
    std::call_once(prepared.once, [&] {
        prepared.constants.reset(new (std::nothrow) bitslice::RoundConstants);
        if (prepared.constants != nullptr)
            bitslice::PrepareRoundConstants(*this, encipher, folded, *prepared.constants);
    });
    return prepared.constants.get();
}

void DesCryptBlocksTable(const DesKeySchedule& schedule, uint8_t* data, std::size_t blocks,
                         bool encipher) {
    for (std::size_t j = 0; j < blocks; ++j, data += 8)
        store64_be(data, CryptOne(schedule, load64_be(data), encipher));
}

void DesBlock(const uint8_t input[8], uint8_t output[8], const uint8_t key[8], uint8_t direction) {
    const DesKeySchedule schedule(key);
    store64_be(output, CryptOne(schedule, load64_be(input), direction != 0));
}

} // namespace kelvane
