// The checksum against its floor: a chain of one L1 load and one xor per
// byte, the least any byte-serial table loop can take.
#include "crypto/Crc32.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

std::vector<uint8_t> Buffer(int64_t size) {
    std::vector<uint8_t> data(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 131 + 7);
    return data;
}

std::array<uint8_t, 256> Permutation() {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<uint8_t>(i * 167 + 13);
    return table;
}

// The floor: every byte costs one dependent load and one xor.
void BM_LoadXorFloor(benchmark::State& state) {
    const auto data = Buffer(state.range(0));
    static const auto table = Permutation();
    for (auto _ : state) {
        uint32_t index = 0;
        for (const uint8_t byte : data)
            index = table[index] ^ byte;
        benchmark::DoNotOptimize(index);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The textbook loop: the whole running value sits on the dependency chain.
void BM_Crc32Textbook(benchmark::State& state) {
    const auto data = Buffer(state.range(0));
    std::array<uint32_t, 256> words{};
    for (int i = 0; i < 256; ++i)
        words[i] = kelvane::Crc32TableWord(i);
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
BENCHMARK(BM_Crc32Textbook)->Arg(1 << 20)->Arg(64 << 20);
BENCHMARK(BM_Crc32Of)->Arg(1 << 20)->Arg(64 << 20);
