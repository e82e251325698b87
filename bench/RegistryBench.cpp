// SPDX-License-Identifier: GPL-3.0-or-later
// Reading registry files of 1 MiB, the largest the store accepts, in the
// shapes that cost the most per byte: many values in one key, many keys, and
// one long value name whose hex data runs over many continuation lines.
#include "platform/RegistryDocument.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t kFileBytes = std::size_t{1} << 20;
const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";

std::string ManyValues() {
    std::string text = kHeader + "[HKEY_CLASSES_ROOT\\crypt file\\Settings\\Options]\n";
    char line[64];
    for (unsigned n = 0;; ++n) {
        const int length = std::snprintf(line, sizeof line, "\"Value%06u\"=dword:%08x\n", n, n);
        if (text.size() + static_cast<std::size_t>(length) > kFileBytes)
            return text;
        text += line;
    }
}

std::string ManyKeys() {
    std::string text = kHeader;
    char line[64];
    for (unsigned n = 0;; ++n) {
        const int length = std::snprintf(line, sizeof line, "[HKEY_CLASSES_ROOT\\k%06u]\n", n);
        if (text.size() + static_cast<std::size_t>(length) > kFileBytes)
            return text;
        text += line;
    }
}

std::string LongNameAndContinuations() {
    std::string text = kHeader + "[HKEY_CLASSES_ROOT\\crypt file]\n";
    text += "\"" + std::string(kFileBytes / 2, 'n') + "\"=hex:00,\\\n";
    while (text.size() + 16 < kFileBytes)
        text += "  01,02,03,04,\\\n";
    return text + "  ff\n";
}

void Parse(benchmark::State& state, const std::string& text, std::size_t expectedKeys) {
    for (auto _ : state) {
        const kelvane::RegistryDocument document = kelvane::RegistryDocument::Parse(text);
        if (document.Keys().size() != expectedKeys)
            state.SkipWithError("the file did not read as written");
        benchmark::DoNotOptimize(document.Keys().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_RegistryManyValues(benchmark::State& state) {
    static const std::string text = ManyValues();
    Parse(state, text, 1);
}

void BM_RegistryManyKeys(benchmark::State& state) {
    static const std::string text = ManyKeys();
    Parse(state, text, (text.size() - kHeader.size()) / 28);
}

void BM_RegistryLongContinuedValue(benchmark::State& state) {
    static const std::string text = LongNameAndContinuations();
    Parse(state, text, 1);
}

// A save of the many-values file, as a preference write does.
void BM_RegistrySaveManyValues(benchmark::State& state) {
    static const kelvane::RegistryDocument document =
        kelvane::RegistryDocument::Parse(ManyValues());
    for (auto _ : state)
        benchmark::DoNotOptimize(document.Serialize());
}

} // namespace

BENCHMARK(BM_RegistryManyValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryManyKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryLongContinuedValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistrySaveManyValues)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
