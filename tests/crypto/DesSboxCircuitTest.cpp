// SPDX-License-Identifier: GPL-3.0-or-later
// The generated S-box circuits against the standard's tables, on all 64
// inputs at once and on any processor: the ternary-logic family is evaluated
// here by its truth tables, as the AVX-512 instruction reads them.
#include "crypto/DesBitslice.h"
#include "crypto/DesTables.h"

#include <gtest/gtest.h>
#include <utility>

namespace kelvane::bitslice {
namespace {

struct ScalarOps {
    using V = uint64_t;
    static V And(V a, V b) { return a & b; }
    static V Or(V a, V b) { return a | b; }
    static V Xor(V a, V b) { return a ^ b; }
    static V AndNot(V a, V b) { return ~a & b; }
    static V Not(V a) { return ~a; }
    // Bit (a << 2 | b << 1 | c) of imm is the result for those operand bits.
    template <int imm> static V Ternary(V a, V b, V c) {
        V r = 0;
        for (int bit = 0; bit < 8; ++bit)
            if ((imm >> bit) & 1)
                r |= ((bit & 4) ? a : ~a) & ((bit & 2) ? b : ~b) & ((bit & 1) ? c : ~c);
        return r;
    }
};

// Bit x of the result is input b(i+1) of input value x, b1 the most significant.
uint64_t InputColumn(int i) {
    uint64_t column = 0;
    for (int x = 0; x < 64; ++x)
        if ((x >> (5 - i)) & 1)
            column |= uint64_t{1} << x;
    return column;
}

// Bit x of the result is output bit k (0 the most significant) of the box for input x.
uint64_t OutputColumn(int box, int k) {
    uint64_t column = 0;
    for (int x = 0; x < 64; ++x) {
        const int row = ((x >> 4) & 2) | (x & 1), col = (x >> 1) & 15;
        if ((des::kS[box][16 * row + col] >> (3 - k)) & 1)
            column |= uint64_t{1} << x;
    }
    return column;
}

template <bool Lut> void ExpectEveryBoxMatchesItsTable() {
    [&]<int... Box>(std::integer_sequence<int, Box...>) {
        (
            [&] {
                uint64_t o[4];
                Sbox<Box, Lut, ScalarOps>(InputColumn(0), InputColumn(1), InputColumn(2),
                                          InputColumn(3), InputColumn(4), InputColumn(5), o[0],
                                          o[1], o[2], o[3]);
                for (int k = 0; k < 4; ++k) {
                    const bool inverted = Lut ? kLutInverted[Box][k] : kGateInverted[Box][k];
                    EXPECT_EQ(o[k] ^ (inverted ? ~uint64_t{0} : 0), OutputColumn(Box, k))
                        << "S" << Box + 1 << " output " << k + 1;
                }
            }(),
            ...);
    }
    (std::make_integer_sequence<int, 8>{});
}

TEST(DesSboxCircuits, TernaryGateCircuitsGiveEveryEntryOfTheEightTables) {
    ExpectEveryBoxMatchesItsTable<true>();
}

TEST(DesSboxCircuits, TwoInputGateCircuitsGiveEveryEntryOfTheEightTables) {
    ExpectEveryBoxMatchesItsTable<false>();
}

} // namespace
} // namespace kelvane::bitslice
