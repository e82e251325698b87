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

// Whether a supported path gave the standard's published pair through a
// whole batch, both ways. A path that did not is never used: the table
// loop does its work. Tried at the path's first use; the table is taken
// as the start-up self-test found it.
bool DesPathGivesThePublishedPair(DesPath path);

// DesCryptBlocks through one given path, which must be supported.
void DesCryptBlocksWith(DesPath path, const DesKeySchedule& schedule, uint8_t* data,
                        std::size_t blocks, bool encipher);

} // namespace kelvane
