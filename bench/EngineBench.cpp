// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file encryption and decryption through the engine, on a file in
// /dev/shm so the disk does not hide the engine's own cost; also the longest
// stretch the window would go without events during a run.
#include "engine/CryptFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string MakeFile(int64_t size) {
    const std::string path = "/dev/shm/kelvane-engine-bench-" + std::to_string(::getpid());
    std::vector<char> bytes(static_cast<std::size_t>(size));
    std::mt19937 generator(7);
    for (auto& b : bytes)
        b = static_cast<char>(generator());
    std::ofstream(path, std::ios::binary).write(bytes.data(), size);
    return path;
}

void RunEngine(benchmark::State& state, bool encrypt) {
    const int64_t size = state.range(0) << 20;
    const std::string plain = MakeFile(size);
    const std::string crypted = plain + ".cry", back = plain + ".back";
    kelvane::CryptHooks hooks;
    hooks.parallelFrom = state.range(1) != 0 ? 0 : INT64_MAX;
    std::chrono::microseconds longest{0};
    hooks.longestEventGap = &longest;
    hooks.letEventsRun = [] {};
    hooks.onExisting = kelvane::Existing::Replace; // each iteration writes the same file
    kelvane::ProgressCounter fill, drain;
    if (!encrypt)
        kelvane::EncryptFile(plain, crypted, "s3cret!", fill, drain, hooks);
    for (auto _ : state) {
        const auto result =
            encrypt ? kelvane::EncryptFile(plain, crypted, "s3cret!", fill, drain, hooks)
                    : kelvane::DecryptFile(crypted, back, "s3cret!", fill, drain, hooks);
        if (result != kelvane::crOk)
            state.SkipWithError("engine failed");
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["longest_event_gap_ms"] = static_cast<double>(longest.count()) / 1000.0;
    std::remove(plain.c_str());
    std::remove(crypted.c_str());
    std::remove(back.c_str());
}

void BM_EncryptFile(benchmark::State& state) {
    RunEngine(state, true);
}
void BM_DecryptFile(benchmark::State& state) {
    RunEngine(state, false);
}

} // namespace

BENCHMARK(BM_EncryptFile)
    ->ArgNames({"MiB", "threads"})
    ->Args({64, 0})
    ->Args({64, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DecryptFile)
    ->ArgNames({"MiB", "threads"})
    ->Args({64, 0})
    ->Args({64, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
