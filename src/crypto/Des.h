// SPDX-License-Identifier: GPL-3.0-or-later
// The Data Encryption Standard (FIPS 46-3) on single 8-byte blocks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace kelvane {

namespace bitslice {
struct RoundConstants;
}

// Enciphers (any non-zero direction) or deciphers (direction 0) one block.
// The input is read completely before the output is written, so both may be
// the same block. The low bit of every key byte is parity and takes no part.
void DesBlock(const uint8_t input[8], uint8_t output[8], const uint8_t key[8], uint8_t direction);

// The sixteen round keys of one key, derived once and reused for every block
// of a file. Each round key is eight 6-bit groups, the group for S1 first.
class DesKeySchedule {
public:
    explicit DesKeySchedule(const uint8_t key[8]);
    ~DesKeySchedule();
    DesKeySchedule(const DesKeySchedule&) = delete;
    DesKeySchedule& operator=(const DesKeySchedule&) = delete;

    const std::array<uint8_t, 8>& Round(int i) const {
        return rounds_[static_cast<std::size_t>(i)];
    }

    // The bitsliced paths' form of the schedule for one direction and gate
    // family, made at its first use and kept while the schedule lives, so a
    // run over many small files under one key makes it once. Safe from
    // several threads. Null when there was no memory for it.
    const bitslice::RoundConstants* Constants(bool encipher, bool folded) const;

private:
    struct Prepared {
        std::once_flag once;
        std::unique_ptr<bitslice::RoundConstants> constants;
    };

    std::array<std::array<uint8_t, 8>, 16> rounds_{};
    mutable std::array<Prepared, 4> prepared_;
};

// The one place where a file's blocks are transformed: `blocks` consecutive
// 8-byte blocks at `data`, each on its own (no chaining), in place.
void DesCryptBlocks(const DesKeySchedule& schedule, uint8_t* data, std::size_t blocks,
                    bool encipher);

// Makes now what DesCryptBlocks in that direction needs from the schedule
// for a run of `blocks`, which it would otherwise make at its first call.
void DesPrepareBlocks(const DesKeySchedule& schedule, std::size_t blocks, bool encipher);

} // namespace kelvane
