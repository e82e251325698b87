// SPDX-License-Identifier: GPL-3.0-or-later
// The checksum against its floor: the fastest chain of one dependent L1 load
// and one xor per byte that this machine runs, the least any byte-serial
// table loop can take.
#include "crypto/Crc32.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Buffer(int64_t size) {
    std::vector<uint8_t> data(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 131 + 7);
    return data;
}

uint8_t Permuted(int i) {
    return static_cast<uint8_t>(i * 167 + 13);
}

// Each slot holds the address of another; the data byte is xored into the
// address read. A load whose address is a register alone has the shortest
// latency, so this chain is one load and one xor per byte with nothing else
// on it.
struct alignas(2048) PointerChain {
    std::array<const void*, 256> slots;
    PointerChain() {
        for (int i = 0; i < 256; ++i)
            slots[static_cast<std::size_t>(i)] = &slots[Permuted(i)];
    }
};

inline const void* Follow(const void* slot, uint64_t byte) {
    const auto next = reinterpret_cast<uintptr_t>(*static_cast<const void* const*>(slot));
    return reinterpret_cast<const void*>(next ^ ((byte & 0xFF) << 3));
}

// The floor, reading the data eight bytes at a time.
void BM_LoadXorFloor(benchmark::State& state) {
    const auto data = Buffer(state.range(0));
    static const PointerChain chain;
    for (auto _ : state) {
        const void* slot = &chain.slots[0];
        for (std::size_t n = 0; n + 8 <= data.size(); n += 8) {
            uint64_t word;
            std::memcpy(&word, &data[n], 8);
            for (int k = 0; k < 64; k += 8)
                slot = Follow(slot, word >> k);
        }
        benchmark::DoNotOptimize(slot);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The same chain through table indices, which need a scaled-index address:
// one cycle more per byte here. Byte entries, then 32-bit entries with the
// data read eight bytes at a time.
void BM_LoadXorFloorIndexedBytes(benchmark::State& state) {
    const auto data = Buffer(state.range(0));
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = Permuted(i);
    for (auto _ : state) {
        uint32_t index = 0;
        for (const uint8_t byte : data)
            index = table[index] ^ byte;
        benchmark::DoNotOptimize(index);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_LoadXorFloorIndexedWords(benchmark::State& state) {
    const auto data = Buffer(state.range(0));
    std::array<uint32_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = Permuted(i);
    for (auto _ : state) {
        uint32_t index = 0;
        for (std::size_t n = 0; n + 8 <= data.size(); n += 8) {
            uint64_t word;
            std::memcpy(&word, &data[n], 8);
            for (int k = 0; k < 64; k += 8)
                index = table[index] ^ static_cast<uint32_t>((word >> k) & 0xFF);
        }
        benchmark::DoNotOptimize(index);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The textbook loop: the whole running value sits on the dependency chain.
void BM_Crc32Textbook(benchmark::State& state) {
    const auto data = Buffer(state.range(0));
    std::array<uint32_t, 256> words{};
    for (int i = 0; i < 256; ++i)
        words[static_cast<std::size_t>(i)] = kelvane::Crc32TableWord(i);
    for (auto _ : state) {
        uint32_t crc = 0;
        for (const uint8_t byte : data)
            crc = (crc >> 8) ^ words[(crc ^ byte) & 0xFF];
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_Crc32Of(benchmark::State& state) {
    const auto data = Buffer(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvane::Crc32Of(data.data(), static_cast<uint32_t>(data.size())));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_LoadXorFloor)->Arg(1 << 20)->Arg(64 << 20);
BENCHMARK(BM_LoadXorFloorIndexedBytes)->Arg(1 << 20)->Arg(64 << 20);
BENCHMARK(BM_LoadXorFloorIndexedWords)->Arg(1 << 20)->Arg(64 << 20);
BENCHMARK(BM_Crc32Textbook)->Arg(1 << 20)->Arg(64 << 20);
BENCHMARK(BM_Crc32Of)->Arg(1 << 20)->Arg(64 << 20);
