// SPDX-License-Identifier: GPL-3.0-or-later
// The bitsliced cipher on 256 blocks at once in AVX2 registers, two-input
// gates. Compiled with -mavx2; only called when the processor has AVX2.
#include "crypto/DesBitslice.h"

#include <immintrin.h>

namespace kelvane::bitslice {
namespace {

struct OpsAvx2 {
    using V = __m256i;
    static constexpr int kLanes = kAvx2Lanes;
    static V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
    static void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
    static V Broadcast(uint64_t w) { return _mm256_set1_epi64x(static_cast<long long>(w)); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
    static V Not(V a) { return _mm256_xor_si256(a, _mm256_set1_epi64x(-1)); }
    static V XorAnd(V a, V b, V m) { return _mm256_and_si256(_mm256_xor_si256(a, b), m); }
    template <int n> static V ShiftLeft(V a) { return _mm256_slli_epi64(a, n); }
    template <int n> static V ShiftRight(V a) { return _mm256_srli_epi64(a, n); }
};

} // namespace

void CryptBatchesAvx2(const RoundConstants& constants, uint8_t* data, std::size_t batches) {
    for (std::size_t i = 0; i < batches; ++i, data += 64 * 8 * kAvx2Lanes)
        CryptBatch<false, OpsAvx2>(constants, data);
}

} // namespace kelvane::bitslice
