// SPDX-License-Identifier: GPL-3.0-or-later
// Bitsliced DES: the round constants of a key, the portable 64-bit path and
// the choice among the paths at run time.
#include "crypto/DesBitslice.h"

#include "crypto/DesPaths.h"
#include "crypto/Endian.h"
#include "crypto/SecureWipe.h"

#include <array>
#include <atomic>
#include <cstring>

#ifdef KELVANE_DES_X86_PATHS
// glibc's header is written in C (_Bool), which only GCC takes in C++.
#if __has_include(<sys/platform/x86.h>) && !defined(__clang__)
#include <sys/platform/x86.h>
#define KELVANE_HAVE_GLIBC_CPU_FEATURES 1
#else
#include <cpuid.h>
#define KELVANE_HAVE_GLIBC_CPU_FEATURES 0
#endif
#endif

namespace kelvane::bitslice {

void PrepareRoundConstants(const DesKeySchedule& schedule, bool encipher, bool folded,
                           RoundConstants& c) {
    // Bits are 0 or 1 here; the words are spread to all ones at the end.
    auto keyBit = [&](int round, int j) -> uint64_t {
        const int index = encipher ? round : 15 - round;
        const uint8_t group = schedule.Round(index)[static_cast<std::size_t>(j / 6)];
        return (group >> (5 - j % 6)) & 1u;
    };
    auto inverted = [&](int m) {
        return folded ? kLutInverted[m / 4][m % 4] : kGateInverted[m / 4][m % 4];
    };
    uint64_t offset[64] = {}; // stored value xor true value, state order
    std::memset(&c, 0, sizeof c);
    if (folded) {
        for (int b = 0; b < 32; ++b)
            offset[32 + b] = keyBit(0, kTables.firstUseOf[b]);
    }
    for (int q = 0; q < 64; ++q)
        c.before[q] = offset[q];
    for (int r = 0; r < 16; ++r) {
        const int x = (r % 2 == 0) ? 32 : 0, y = 32 - x;
        for (int j = 0; j < 48; ++j)
            c.input[r][j] = offset[x + des::kE[j] - 1] ^ keyBit(r, j);
        for (int m = 0; m < 32; ++m) {
            const int n = kTables.sboxTarget[m];
            if (folded) {
                const uint64_t wanted = r < 15 ? keyBit(r + 1, kTables.firstUseOf[n]) : 0;
                c.output[r][n] = offset[y + n] ^ inverted(m) ^ wanted;
                offset[y + n] = wanted;
            } else {
                offset[y + n] ^= inverted(m);
            }
        }
    }
    for (int q = 0; q < 64; ++q)
        c.after[q] = offset[q];
    SecureWipe(offset, sizeof offset);
    uint64_t* words = &c.input[0][0];
    for (std::size_t i = 0; i < sizeof c / sizeof(uint64_t); ++i)
        words[i] = 0 - words[i];
}

namespace {

struct Ops64 {
    using V = uint64_t;
    static constexpr int kLanes = 1;
    static V Load(const uint8_t* p) { return load64_le(p); }
    static void Store(uint8_t* p, V v) { store64_le(p, v); }
    static V Broadcast(uint64_t w) { return w; }
    static V And(V a, V b) { return a & b; }
    static V Or(V a, V b) { return a | b; }
    static V Xor(V a, V b) { return a ^ b; }
    static V AndNot(V a, V b) { return ~a & b; }
    static V Not(V a) { return ~a; }
    static V XorAnd(V a, V b, V m) { return (a ^ b) & m; }
    template <int n> static V ShiftLeft(V a) { return a << n; }
    template <int n> static V ShiftRight(V a) { return a >> n; }
};

void CryptBatchesPortable(const RoundConstants& c, uint8_t* data, std::size_t batches) {
    for (std::size_t i = 0; i < batches; ++i, data += 64 * 8)
        CryptBatch<false, Ops64>(c, data);
}

} // namespace
} // namespace kelvane::bitslice

namespace kelvane {
namespace {

struct PathInfo {
    int blocksPerBatch;
    bool folded;
    void (*batches)(const bitslice::RoundConstants&, uint8_t*, std::size_t);
};

PathInfo Info(DesPath path) {
    switch (path) {
#ifdef KELVANE_DES_X86_PATHS
    case DesPath::Avx512:
        return {64 * bitslice::kAvx512Lanes, true, bitslice::CryptBatchesAvx512};
    case DesPath::Avx2:
        return {64 * bitslice::kAvx2Lanes, false, bitslice::CryptBatchesAvx2};
#else
    case DesPath::Avx512:
    case DesPath::Avx2:
        break;
#endif
    case DesPath::Portable:
        return {64, false, bitslice::CryptBatchesPortable};
    case DesPath::Table:
        break;
    }
    return {1, false, nullptr};
}

// Below this many blocks a padded batch costs more than the table loop.
constexpr std::size_t kShortestBatch = 8;

constexpr std::size_t kAvx2BatchBlocks = 64 * bitslice::kAvx2Lanes;

} // namespace

const char* DesPathName(DesPath path) {
    switch (path) {
    case DesPath::Table:
        return "table";
    case DesPath::Portable:
        return "portable64";
    case DesPath::Avx2:
        return "avx2";
    case DesPath::Avx512:
        return "avx512";
    }
    return "?";
}

#ifdef KELVANE_DES_X86_PATHS
namespace {

// What the processor and the operating system offer, asked once, at the
// first use. The compiler's own check brought a detection of every feature
// that ran at each start of the program, and each question to the
// processor is a trap to the hypervisor on a virtual machine: where the C
// library tells what it found when it started, that answer is taken.
struct X86Features {
    bool avx2 = false;
    bool avx512f = false;
};

#if KELVANE_HAVE_GLIBC_CPU_FEATURES
X86Features AskProcessor() {
    // "Active": the processor has it and the operating system saves its
    // registers.
    return {CPU_FEATURE_ACTIVE(AVX2), CPU_FEATURE_ACTIVE(AVX512F)};
}
#else
// The register states the operating system saves (XCR0).
uint64_t SavedStates() {
    uint32_t low = 0, high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (uint64_t{high} << 32) | low;
}

X86Features AskProcessor() {
    X86Features features;
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0 || (c & bit_OSXSAVE) == 0)
        return features;
    // The SSE and AVX halves for AVX2; the mask and upper ZMM states too for
    // AVX-512.
    const uint64_t states = SavedStates();
    const bool ymm = (states & 0x06) == 0x06;
    const bool zmm = ymm && (states & 0xE0) == 0xE0;
    if (__get_cpuid_count(7, 0, &a, &b, &c, &d) == 0)
        return features;
    features.avx2 = ymm && (b & bit_AVX2) != 0;
    features.avx512f = zmm && (b & bit_AVX512F) != 0;
    return features;
}
#endif

const X86Features& Features() {
    static const X86Features features = AskProcessor();
    return features;
}

} // namespace
#endif

bool DesPathSupported(DesPath path) {
    switch (path) {
    case DesPath::Table:
    case DesPath::Portable:
        return true;
#ifdef KELVANE_DES_X86_PATHS
    case DesPath::Avx2:
        return Features().avx2;
    case DesPath::Avx512:
        return Features().avx512f;
#else
    default:
        return false;
#endif
    }
    return false;
}

std::vector<DesPath> DesSupportedPaths() {
    std::vector<DesPath> paths;
    for (DesPath path : {DesPath::Table, DesPath::Portable, DesPath::Avx2, DesPath::Avx512})
        if (DesPathSupported(path))
            paths.push_back(path);
    return paths;
}

DesPath DesFastestPath() {
    static const DesPath fastest = DesSupportedPaths().back();
    return fastest;
}

namespace {

// A batch is padded to its full width, so a tail goes through the
// narrowest batch it fills (a 1 KiB file's 129 blocks take half the time in
// a batch of 256 as in one of 512); the narrower one's constants are made
// once per key, like the wider one's.
DesPath TailPath(DesPath path, std::size_t rest) {
    if (path == DesPath::Avx512 && rest <= kAvx2BatchBlocks && DesPathSupported(DesPath::Avx2))
        return DesPath::Avx2;
    return path;
}

// False when the path's constants could not be had.
bool CryptInBatches(DesPath path, const DesKeySchedule& schedule, uint8_t* data,
                    std::size_t batches, bool encipher) {
    const PathInfo info = Info(path);
    const bitslice::RoundConstants* constants = schedule.Constants(encipher, info.folded);
    if (constants == nullptr)
        return false;
    info.batches(*constants, data, batches);
    return true;
}

enum class Verdict : uint8_t { Unknown, Sound, Broken };

std::array<std::atomic<Verdict>, 4> gVerdicts{};

// The published pair through one whole batch of the path, deciphered and
// enciphered again. Unknown when there was no memory for the path's
// constants.
Verdict TryPublishedPair(DesPath path) {
    const DesKeySchedule schedule(kFips81Pair.key);
    const auto width = static_cast<std::size_t>(Info(path).blocksPerBatch);
    alignas(64) uint8_t batch[64 * 8 * bitslice::kAvx512Lanes];
    auto every = [&](const uint8_t(&block)[8]) {
        for (std::size_t i = 0; i < width; ++i)
            if (std::memcmp(batch + 8 * i, block, 8) != 0)
                return false;
        return true;
    };
    for (std::size_t i = 0; i < width; ++i)
        std::memcpy(batch + 8 * i, kFips81Pair.cipher, 8);
    if (!CryptInBatches(path, schedule, batch, 1, false))
        return Verdict::Unknown;
    if (!every(kFips81Pair.plain))
        return Verdict::Broken;
    if (!CryptInBatches(path, schedule, batch, 1, true))
        return Verdict::Unknown;
    return every(kFips81Pair.cipher) ? Verdict::Sound : Verdict::Broken;
}

// A bitsliced path proves itself on the standard's published pair before
// its first block of real data: a miscompiled path, or a processor or
// system that does not keep the wide registers it claims, must not write a
// file. One that fails is never used; the table loop, which the start-up
// self-test checks, does its work. Each path is tried once, at its first
// use, so a run pays only for the paths its files take.
bool PathIsSound(DesPath path) {
    std::atomic<Verdict>& verdict = gVerdicts[static_cast<std::size_t>(path)];
    Verdict known = verdict.load(std::memory_order_acquire);
    if (known == Verdict::Unknown) {
        known = TryPublishedPair(path);
        if (known != Verdict::Unknown)
            verdict.store(known, std::memory_order_release);
    }
    return known == Verdict::Sound;
}

void CryptTail(DesPath path, const DesKeySchedule& schedule, uint8_t* tail, std::size_t rest,
               bool encipher) {
    const std::size_t bytes = static_cast<std::size_t>(Info(path).blocksPerBatch) * 8;
    alignas(64) uint8_t padded[64 * 8 * bitslice::kAvx512Lanes];
    std::memset(padded, 0, bytes);
    std::memcpy(padded, tail, rest * 8);
    if (PathIsSound(path) && CryptInBatches(path, schedule, padded, 1, encipher))
        std::memcpy(tail, padded, rest * 8);
    else
        DesCryptBlocksTable(schedule, tail, rest, encipher);
    SecureWipe(padded, bytes);
}

} // namespace

void DesCryptBlocksWith(DesPath path, const DesKeySchedule& schedule, uint8_t* data,
                        std::size_t blocks, bool encipher) {
    const PathInfo info = Info(path);
    if (info.batches == nullptr || blocks < kShortestBatch || !DesPathSupported(path)) {
        DesCryptBlocksTable(schedule, data, blocks, encipher);
        return;
    }
    const std::size_t width = static_cast<std::size_t>(info.blocksPerBatch);
    const std::size_t full = blocks / width;
    if (full > 0 && !(PathIsSound(path) && CryptInBatches(path, schedule, data, full, encipher))) {
        DesCryptBlocksTable(schedule, data, blocks, encipher);
        return;
    }
    const std::size_t rest = blocks - full * width;
    uint8_t* tail = data + full * width * 8;
    if (rest >= kShortestBatch)
        CryptTail(TailPath(path, rest), schedule, tail, rest, encipher);
    else if (rest > 0)
        DesCryptBlocksTable(schedule, tail, rest, encipher);
}

void DesPrepareBlocks(const DesKeySchedule& schedule, std::size_t blocks, bool encipher) {
    DesPath path = DesFastestPath();
    if (Info(path).batches == nullptr || blocks < kShortestBatch || !DesPathSupported(path))
        return;
    if (blocks < static_cast<std::size_t>(Info(path).blocksPerBatch))
        path = TailPath(path, blocks);
    static_cast<void>(schedule.Constants(encipher, Info(path).folded));
}

bool DesPathGivesThePublishedPair(DesPath path) {
    return Info(path).batches == nullptr || (DesPathSupported(path) && PathIsSound(path));
}

void DesCryptBlocks(const DesKeySchedule& schedule, uint8_t* data, std::size_t blocks,
                    bool encipher) {
    DesCryptBlocksWith(DesFastestPath(), schedule, data, blocks, encipher);
}

} // namespace kelvane
