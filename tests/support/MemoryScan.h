// SPDX-License-Identifier: GPL-3.0-or-later
// Looks for a secret in the process's own writable memory: the heap, the
// stacks of every thread and the allocator's arenas. The secret is given
// masked, byte by byte xored with a mask, and matched through the mask, so
// the search never puts the secret itself into memory.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kelvane::testing_support {

template <std::size_t N> struct MaskedSecret {
    uint8_t mask;
    std::array<uint8_t, N> masked;
};

// The password the secrets tests use, "Qz7#Wk4!", with every byte xored
// with the mask.
inline constexpr uint8_t kSecretMask = 0x5A;
inline constexpr MaskedSecret<8> kMaskedSecret{
    kSecretMask,
    {'Q' ^ kSecretMask, 'z' ^ kSecretMask, '7' ^ kSecretMask, '#' ^ kSecretMask, 'W' ^ kSecretMask,
     'k' ^ kSecretMask, '4' ^ kSecretMask, '!' ^ kSecretMask}};

template <std::size_t N>
bool MatchesAt(const std::vector<uint8_t>& bytes, std::size_t at, const MaskedSecret<N>& secret) {
    for (std::size_t i = 0; i < N; ++i) {
        if ((bytes[at + i] ^ secret.mask) != secret.masked[i])
            return false;
    }
    return true;
}

// Every writable private mapping: the heap, the main stack, the threads'
// stacks and the allocator's other arenas.
inline std::vector<std::pair<uintptr_t, uintptr_t>> WritableRanges() {
    std::vector<std::pair<uintptr_t, uintptr_t>> ranges;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string span, perms, offset, device, inode, path;
        fields >> span >> perms >> offset >> device >> inode >> path;
        const bool anonymous = path.empty() || path == "[heap]" || path == "[stack]";
        if (!perms.starts_with("rw") || !anonymous)
            continue;
        const auto dash = span.find('-');
        ranges.emplace_back(std::stoull(span.substr(0, dash), nullptr, 16),
                            std::stoull(span.substr(dash + 1), nullptr, 16));
    }
    return ranges;
}

// False when no page of the span was ever touched (a sanitizer reserves far
// more than it uses): nothing can hide there, and reading it is slow.
inline bool AnyPageResident(uintptr_t at, std::size_t size) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((size + page - 1) / page);
    if (::mincore(reinterpret_cast<void*>(at), size, resident.data()) != 0)
        return true; // can't tell: read it
    return std::any_of(resident.begin(), resident.end(), [](unsigned char r) { return r & 1; });
}

// Where the secret is found, as addresses; empty when nowhere.
template <std::size_t N> std::vector<uintptr_t> FindSecret(const MaskedSecret<N>& secret) {
    constexpr std::size_t kChunk = 1 << 20;
    constexpr uintptr_t kLargest = uintptr_t{1} << 30; // skips sanitizer shadows
    std::vector<uint8_t> chunk(kChunk + N);
    std::vector<uintptr_t> found;
    const int mem = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    for (const auto& [begin, end] : WritableRanges()) {
        if (end - begin > kLargest)
            continue;
        for (uintptr_t at = begin; at < end; at += kChunk) {
            const std::size_t want = std::min<uintptr_t>(kChunk + N - 1, end - at);
            if (!AnyPageResident(at, want))
                continue;
            const ssize_t got = ::pread(mem, chunk.data(), want, static_cast<off_t>(at));
            for (ssize_t i = 0; i + static_cast<ssize_t>(N) <= got; ++i) {
                if (MatchesAt(chunk, static_cast<std::size_t>(i), secret))
                    found.push_back(at + static_cast<uintptr_t>(i));
            }
        }
    }
    ::close(mem);
    std::fill(chunk.begin(), chunk.end(), 0);
    return found;
}

} // namespace kelvane::testing_support
