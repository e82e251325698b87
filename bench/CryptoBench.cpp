// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the cipher over a buffer, in bytes per second.
#include "crypto/Des.h"
#include "crypto/DesPaths.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

constexpr uint8_t kKey[8] = {'s', '3', 'c', 'r', 'e', 't', '!', 0};

std::vector<uint8_t> Buffer(int64_t size) {
    std::vector<uint8_t> data(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 131 + 7);
    return data;
}

// One call per 8-byte block, key schedule derived every time, as DesBlock does.
void BM_DesBlock(benchmark::State& state) {
    auto data = Buffer(state.range(0));
    for (auto _ : state) {
        for (std::size_t i = 0; i + 8 <= data.size(); i += 8)
            kelvane::DesBlock(&data[i], &data[i], kKey, 1);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The engine's path: one schedule per file, every block through DesCryptBlocks.
void BM_DesCryptBlocks(benchmark::State& state) {
    auto data = Buffer(state.range(0));
    const kelvane::DesKeySchedule schedule(kKey);
    for (auto _ : state) {
        kelvane::DesCryptBlocks(schedule, data.data(), data.size() / 8, state.range(1) != 0);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// A small file's blocks under a key made for it alone, as a run over many
// small files under one password did for each of them.
void BM_DesFreshKey(benchmark::State& state) {
    auto data = Buffer(state.range(0));
    for (auto _ : state) {
        const kelvane::DesKeySchedule schedule(kKey);
        kelvane::DesCryptBlocks(schedule, data.data(), data.size() / 8, true);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// One path forced, fixed key; the argument names the path.
void BM_DesPath(benchmark::State& state) {
    const auto path = static_cast<kelvane::DesPath>(state.range(1));
    if (!kelvane::DesPathSupported(path)) {
        state.SkipWithError("not supported by this processor");
        return;
    }
    state.SetLabel(kelvane::DesPathName(path));
    auto data = Buffer(state.range(0));
    const kelvane::DesKeySchedule schedule(kKey);
    for (auto _ : state) {
        kelvane::DesCryptBlocksWith(path, schedule, data.data(), data.size() / 8, true);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_DesBlock)->Arg(64 << 10)->Arg(1 << 20);
BENCHMARK(BM_DesCryptBlocks)
    ->ArgNames({"bytes", "encipher"})
    ->Args({64 << 10, 1})
    ->Args({1 << 20, 1})
    ->Args({1 << 20, 0})
    ->Args({64 << 20, 1});
BENCHMARK(BM_DesFreshKey)->Arg(104)->Arg(520)->Arg(1032);
BENCHMARK(BM_DesPath)
    ->ArgNames({"bytes", "path"})
    ->ArgsProduct({{104, 1032, 1 << 20, 64 << 20},
                   {int(kelvane::DesPath::Table), int(kelvane::DesPath::Portable),
                    int(kelvane::DesPath::Avx2), int(kelvane::DesPath::Avx512)}});

BENCHMARK_MAIN();
