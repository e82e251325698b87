// SPDX-License-Identifier: GPL-3.0-or-later
// The bitsliced cipher on 512 blocks at once in AVX-512 registers, every gate
// one ternary-logic instruction. Compiled for AVX-512; only called when the
// processor has it.
#include "crypto/DesBitslice.h"

#include <immintrin.h>

namespace kelvane::bitslice {
namespace {

struct OpsAvx512 {
    using V = __m512i;
    static constexpr int kLanes = kAvx512Lanes;
    static V Load(const uint8_t* p) { return _mm512_loadu_si512(p); }
    static void Store(uint8_t* p, V v) { _mm512_storeu_si512(p, v); }
    static V Broadcast(uint64_t w) { return _mm512_set1_epi64(static_cast<long long>(w)); }
    static V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
    static V Xor3(V a, V b, V c) { return _mm512_ternarylogic_epi64(a, b, c, 0x96); }
    static V XorAnd(V a, V b, V m) { return _mm512_ternarylogic_epi64(a, b, m, 0x28); }
    // m ? a : b, bit by bit.
    static V Select(V m, V a, V b) { return _mm512_ternarylogic_epi64(m, a, b, 0xCA); }
    template <int imm> static V Ternary(V a, V b, V c) {
        return _mm512_ternarylogic_epi64(a, b, c, imm);
    }
    // Vector shifts rather than _mm512_slli_epi64, whose GCC 12 header warns
    // about its own undefined pass-through operand.
    template <int n> static V ShiftLeft(V a) { return V(__v8du(a) << n); }
    template <int n> static V ShiftRight(V a) { return V(__v8du(a) >> n); }
};

} // namespace

void CryptBatchesAvx512(const RoundConstants& constants, uint8_t* data, std::size_t batches) {
    for (std::size_t i = 0; i < batches; ++i, data += 64 * 8 * kAvx512Lanes)
        CryptBatch<true, OpsAvx512>(constants, data);
}

} // namespace kelvane::bitslice
