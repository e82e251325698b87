#include "crypto/Des.h"

#include "crypto/SecureWipe.h"

namespace kelvane {
namespace {

// ---- The standard's tables, 1-based bit positions as FIPS 46-3 prints them ----

constexpr uint8_t kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                             62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                             57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                             61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr uint8_t kIPInverse[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                                    38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                                    36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                                    34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

constexpr uint8_t kE[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                            12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                            22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

constexpr uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                            2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

constexpr uint8_t kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                              10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                              63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                              14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr uint8_t kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                              26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                              51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

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
        f |= kSP.box[k][group ^ roundKey[k]];
    }
    return f;
}

inline uint64_t Load64BigEndian(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

inline void Store64BigEndian(uint8_t* p, uint64_t v) {
    for (int i = 7; i >= 0; --i) {
        p[i] = static_cast<uint8_t>(v);
        v >>= 8;
    }
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
    const uint64_t k = Load64BigEndian(key);
    uint32_t c = 0, d = 0; // 28 bits each, bit 1 in bit 27
    for (int i = 0; i < 28; ++i) {
        c = (c << 1) | ((k & Bit64(kPC1[i])) ? 1 : 0);
        d = (d << 1) | ((k & Bit64(kPC1[28 + i])) ? 1 : 0);
    }
    for (int round = 0; round < 16; ++round) {
        for (int s = 0; s < kShifts[round]; ++s) {
            c = ((c << 1) | (c >> 27)) & 0x0FFFFFFF;
            d = ((d << 1) | (d >> 27)) & 0x0FFFFFFF;
        }
        const uint64_t cd = (uint64_t{c} << 28) | d; // bit 1 of C at bit 55
        for (int j = 0; j < 48; ++j) {
            const int bit = (cd >> (56 - kPC2[j])) & 1;
            rounds_[round][j / 6] = static_cast<uint8_t>((rounds_[round][j / 6] << 1) | bit);
        }
    }
    SecureWipe(&c, sizeof c);
    SecureWipe(&d, sizeof d);
}

DesKeySchedule::~DesKeySchedule() {
    SecureWipe(rounds_.data(), sizeof rounds_);
}

void DesCryptBlocks(const DesKeySchedule& schedule, uint8_t* data, std::size_t blocks,
                    bool encipher) {
    for (std::size_t j = 0; j < blocks; ++j, data += 8)
        Store64BigEndian(data, CryptOne(schedule, Load64BigEndian(data), encipher));
}

void DesBlock(const uint8_t input[8], uint8_t output[8], const uint8_t key[8], uint8_t direction) {
    const DesKeySchedule schedule(key);
    Store64BigEndian(output, CryptOne(schedule, Load64BigEndian(input), direction != 0));
}

} // namespace kelvane
