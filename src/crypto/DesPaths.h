// SPDX-License-Identifier: GPL-3.0-or-later
// The ways this build can transform a file's blocks, for the dispatcher,
// the tests and the benchmarks. Every path gives the same bytes.
#pragma once

#include "crypto/Des.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvane {

enum class DesPath {
    Table,    // one block at a time, table-driven
    Portable, // 64 blocks at once in 64-bit words, two-input gates
    Avx2,     // 256 blocks at once in AVX2 registers, two-input gates
    Avx512,   // 512 blocks at once in AVX-512 registers, ternary-logic gates
};

const char* DesPathName(DesPath path);

// Whether this processor (and operating system) can run the path.
bool DesPathSupported(DesPath path);

// The supported paths, slowest first.
std::vector<DesPath> DesSupportedPaths();

// The path DesCryptBlocks takes on this machine.
DesPath DesFastestPath();

// FIPS 81, appendix B: "Now is t" under 0123456789ABCDEF. The start-up
// self-test runs it through the one-block function and the table loop, and
// each bitsliced path through a batch of its own.
struct DesPublishedPair {
    uint8_t key[8];
    uint8_t plain[8];
    uint8_t cipher[8];
};
inline constexpr DesPublishedPair kFips81Pair{{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
                                              {0x4E, 0x6F, 0x77, 0x20, 0x69, 0x73, 0x20, 0x74},
                                              {0x3F, 0xA4, 0x0E, 0x8A, 0x98, 0x4D, 0x48, 0x15}};

// Whether a supported path gave the standard's published pair through a
// whole batch, both ways. A path that did not is never used: the table
// loop does its work. Tried at the path's first use; the table is taken
// as the start-up self-test found it.
bool DesPathGivesThePublishedPair(DesPath path);

// DesCryptBlocks through one given path, which must be supported.
void DesCryptBlocksWith(DesPath path, const DesKeySchedule& schedule, uint8_t* data,
                        std::size_t blocks, bool encipher);

} // namespace kelvane
