// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the seconds Crc32Of takes over a file's bytes already in memory:
// the floor a whole-file run is measured against. Best of three.
#include "crypto/Crc32.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane_checksum_time FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    double best = 1e9;
    uint32_t crc = 0;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        crc ^= kelvane::Crc32Of(bytes.data(), static_cast<uint32_t>(bytes.size()));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    std::printf("%.3f %08x\n", best, crc);
    return 0;
}
