// SPDX-License-Identifier: GPL-3.0-or-later
// The bitsliced DES core, shared by every vector width. Internal to the
// crypto library: included by the files that instantiate it for one
// instruction set each. The templates sit in an unnamed namespace, so each
// file's instances are its own: none compiled for a wider instruction set
// can be picked by the linker for a file built for the baseline.
//
// A batch holds 64 * Ops::kLanes blocks. After a transpose, vector p holds
// bit p of every block (bit p of the block read as a little-endian 64-bit
// word), so the initial and final permutations and the expansion are only
// choices of which vector to read: no instruction is spent on them.
//
// Stored values may differ from the true cipher state by a known constant:
// an S-box circuit may give an output complemented, and the ternary-logic
// path also folds the round key into the xor that forms each new half. The
// differences depend only on the key, so RoundConstants carries the words
// (all zeros or all ones) that correct them where they are used.
#pragma once

#include "crypto/Des.h"
#include "crypto/DesSboxCircuits.h"
#include "crypto/DesTables.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kelvane {

// The table-driven loop, one block after another (Des.cpp).
void DesCryptBlocksTable(const DesKeySchedule& schedule, uint8_t* data, std::size_t blocks,
                         bool encipher);

} // namespace kelvane

namespace kelvane::bitslice {

// Every word is 0 or all ones, one per bit position.
struct RoundConstants {
    uint64_t input[16][48];  // xored into the expanded half, in E order
    uint64_t output[16][32]; // xored into a new half with the S-box outputs (folded form)
    uint64_t before[64];     // xored into the state before the first round
    uint64_t after[64];      // and after the last, state order: L bits then R bits
};

// Fills `constants` for a key, a direction and a circuit family. In the
// folded form the round key for each half bit's first use in the next round
// travels with the stored half, so only the second uses need an xor.
void PrepareRoundConstants(const DesKeySchedule& schedule, bool encipher, bool folded,
                           RoundConstants& constants);

// Transforms `batches` consecutive batches in place.
void CryptBatchesAvx2(const RoundConstants& constants, uint8_t* data, std::size_t batches);
void CryptBatchesAvx512(const RoundConstants& constants, uint8_t* data, std::size_t batches);

inline constexpr int kAvx2Lanes = 4;
inline constexpr int kAvx512Lanes = 8;

namespace {

// ---- Where each bit lives ----

// The vector that holds DES bit n (1-based, bit 1 the most significant of
// byte 0) after the transpose: byte y = (n - 1) / 8 of the block, its bit
// z = (n - 1) % 8 counted from the top, is bit 8y + 7 - z of the
// little-endian word.
constexpr int PlaneOf(int n) {
    return 8 * ((n - 1) / 8) + 7 - (n - 1) % 8;
}

struct StateTables {
    int plane[64];      // the vector holding bit q + 1 of the permuted block: L 1..32, then R 1..32
    int sboxTarget[32]; // S-box output bit m (0-based, S1 first) lands on f bit sboxTarget[m]
    bool firstUse[48];  // whether E position j is the first to read its half bit
    int firstUseOf[32]; // the E position of each half bit's first use
};

constexpr StateTables MakeStateTables() {
    StateTables t{};
    for (int q = 0; q < 64; ++q)
        t.plane[q] = PlaneOf(des::kIP[q]);
    for (int n = 0; n < 32; ++n)
        t.sboxTarget[des::kP[n] - 1] = n;
    bool seen[32] = {};
    for (int j = 0; j < 48; ++j) {
        const int b = des::kE[j] - 1;
        t.firstUse[j] = !seen[b];
        if (!seen[b])
            t.firstUseOf[b] = j;
        seen[b] = true;
    }
    return t;
}

constexpr StateTables kTables = MakeStateTables();

// ---- Sixty-four by sixty-four bit transpose in every 64-bit lane ----

// Afterwards bit i of word p is what bit p of word i was. Each step swaps
// the off-diagonal blocks of size j: row k, column p (with bit j of k clear
// and of p set) trades places with row k + j, column p - j. The steps touch
// different bits of the row and column numbers, so they may run in any
// order: steps 32 and 16 run on four rows at a time, steps 8 to 1 on sixteen,
// each group held in registers, so the rows pass through memory twice.
template <int j, class Ops> inline void SwapBlocks(typename Ops::V& low, typename Ops::V& high) {
    using V = typename Ops::V;
    constexpr uint64_t kMask = j == 32   ? 0x00000000FFFFFFFF
                               : j == 16 ? 0x0000FFFF0000FFFF
                               : j == 8  ? 0x00FF00FF00FF00FF
                               : j == 4  ? 0x0F0F0F0F0F0F0F0F
                               : j == 2  ? 0x3333333333333333
                                         : 0x5555555555555555;
    const V m = Ops::Broadcast(kMask);
    if constexpr (requires { Ops::Select(m, low, high); }) {
        // A bitwise select is one instruction here: four per pair instead of five.
        const V newLow = Ops::Select(m, low, Ops::template ShiftLeft<j>(high));
        high = Ops::Select(m, Ops::template ShiftRight<j>(low), high);
        low = newLow;
    } else {
        const V t = Ops::XorAnd(Ops::template ShiftRight<j>(low), high, m);
        high = Ops::Xor(high, t);
        low = Ops::Xor(low, Ops::template ShiftLeft<j>(t));
    }
}

// Steps 32 and 16 on rows k, k + 16, k + 32, k + 48.
template <class Ops> inline void TransposeWide(typename Ops::V (&r)[4]) {
    SwapBlocks<32, Ops>(r[0], r[2]);
    SwapBlocks<32, Ops>(r[1], r[3]);
    SwapBlocks<16, Ops>(r[0], r[1]);
    SwapBlocks<16, Ops>(r[2], r[3]);
}

// Steps 8, 4, 2 and 1 on sixteen consecutive rows.
template <class Ops> inline void TransposeNarrow(typename Ops::V* rows) {
    using V = typename Ops::V;
    V r[16];
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i)
        r[i] = rows[i];
    [&]<int... Step>(std::integer_sequence<int, Step...>) {
        (
            [&] {
                constexpr int j = 8 >> Step;
#pragma GCC unroll 8
                for (int k = 0; k < 16; k = (k + j + 1) & ~j)
                    SwapBlocks<j, Ops>(r[k], r[k + j]);
            }(),
            ...);
    }
    (std::make_integer_sequence<int, 4>{});
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i)
        rows[i] = r[i];
}

// Rows from memory (row i at data + i * rowBytes) to bit planes.
template <class Ops> inline void TransposeIn(const uint8_t* data, typename Ops::V (&a)[64]) {
    using V = typename Ops::V;
    constexpr int kRowBytes = 8 * Ops::kLanes;
#pragma GCC unroll 16
    for (int k = 0; k < 16; ++k) {
        V r[4];
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i)
            r[i] = Ops::Load(data + (k + 16 * i) * kRowBytes);
        TransposeWide<Ops>(r);
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i)
            a[k + 16 * i] = r[i];
    }
#pragma GCC unroll 4
    for (int g = 0; g < 4; ++g)
        TransposeNarrow<Ops>(a + 16 * g);
}

// And back.
template <class Ops> inline void TransposeOut(typename Ops::V (&a)[64], uint8_t* data) {
    using V = typename Ops::V;
    constexpr int kRowBytes = 8 * Ops::kLanes;
#pragma GCC unroll 4
    for (int g = 0; g < 4; ++g)
        TransposeNarrow<Ops>(a + 16 * g);
#pragma GCC unroll 16
    for (int k = 0; k < 16; ++k) {
        V r[4];
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i)
            r[i] = a[k + 16 * i];
        TransposeWide<Ops>(r);
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i)
            Ops::Store(data + (k + 16 * i) * kRowBytes, r[i]);
    }
}

// ---- One round ----

template <int Box, bool Lut, class Ops, class V>
inline void Sbox(const V& a1, const V& a2, const V& a3, const V& a4, const V& a5, const V& a6,
                 V& o1, V& o2, V& o3, V& o4) {
#define KELVANE_SBOX(k)                                                                            \
    if constexpr (Box == (k)-1) {                                                                  \
        if constexpr (Lut)                                                                         \
            LutS##k<Ops>(a1, a2, a3, a4, a5, a6, o1, o2, o3, o4);                                  \
        else                                                                                       \
            GateS##k<Ops>(a1, a2, a3, a4, a5, a6, o1, o2, o3, o4);                                 \
    }
    KELVANE_SBOX(1)
    KELVANE_SBOX(2)
    KELVANE_SBOX(3)
    KELVANE_SBOX(4)
    KELVANE_SBOX(5)
    KELVANE_SBOX(6)
    KELVANE_SBOX(7)
    KELVANE_SBOX(8)
#undef KELVANE_SBOX
}

// y ^= f(x) for one S-box: x is the half fed through E, y the half that
// becomes the new x. X and Y give where the halves start in state order (0
// for L, 32 for R); the planes stay where the transpose put them.
template <int Box, bool Lut, class Ops, int X, int Y>
[[gnu::always_inline]] inline void RoundStep(typename Ops::V* a, const uint64_t* input,
                                             const uint64_t* output) {
    using V = typename Ops::V;
    const auto x = [&](int b) -> const V& { return a[kTables.plane[X + b]]; };
    const auto y = [&](int n) -> V& { return a[kTables.plane[Y + n]]; };
    V in[6];
#pragma GCC unroll 6
    for (int i = 0; i < 6; ++i) {
        const int j = 6 * Box + i;
        const V bit = x(des::kE[j] - 1);
        in[i] = (Lut && kTables.firstUse[j]) ? bit : Ops::Xor(bit, Ops::Broadcast(input[j]));
    }
    V o[4];
    Sbox<Box, Lut, Ops>(in[0], in[1], in[2], in[3], in[4], in[5], o[0], o[1], o[2], o[3]);
#pragma GCC unroll 4
    for (int k = 0; k < 4; ++k) {
        const int n = kTables.sboxTarget[4 * Box + k];
        if constexpr (Lut)
            y(n) = Ops::Xor3(y(n), Ops::Broadcast(output[n]), o[k]);
        else
            y(n) = Ops::Xor(y(n), o[k]);
    }
}

template <bool Lut, class Ops, int X, int Y>
inline void Round(typename Ops::V* a, const uint64_t* input, const uint64_t* output) {
    [&]<int... Box>(std::integer_sequence<int, Box...>) {
        (RoundStep<Box, Lut, Ops, X, Y>(a, input, output), ...);
    }
    (std::make_integer_sequence<int, 8>{});
}

// One batch of 64 * Ops::kLanes blocks at `data`, in place. Block i * kLanes + g
// sits in lane g of row i.
template <bool Lut, class Ops> inline void CryptBatch(const RoundConstants& c, uint8_t* data) {
    using V = typename Ops::V;
    V a[64];
    TransposeIn<Ops>(data, a);
    if constexpr (Lut) {
#pragma GCC unroll 64
        for (int q = 0; q < 64; ++q)
            a[kTables.plane[q]] = Ops::Xor(a[kTables.plane[q]], Ops::Broadcast(c.before[q]));
    }
    for (int r = 0; r < 16; r += 2) {
        Round<Lut, Ops, 32, 0>(a, c.input[r], c.output[r]);
        Round<Lut, Ops, 0, 32>(a, c.input[r + 1], c.output[r + 1]);
    }
    // The halves trade places after the last round: state bit q of the
    // output is in the plane of bit q +- 32.
    V out[64];
#pragma GCC unroll 64
    for (int q = 0; q < 64; ++q) {
        const int from = (q + 32) & 63;
        out[kTables.plane[q]] = Ops::Xor(a[kTables.plane[from]], Ops::Broadcast(c.after[from]));
    }
    TransposeOut<Ops>(out, data);
}

} // namespace
} // namespace kelvane::bitslice
