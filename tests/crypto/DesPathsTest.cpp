// SPDX-License-Identifier: GPL-3.0-or-later
// Every way of transforming a file's blocks gives DesBlock's bytes, bit for
// bit, in both directions, whatever the number of blocks.
#include "crypto/DesPaths.h"

#include "crypto/Des.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace kelvane {
namespace {

// Unoptimised and sanitised builds check fewer random pairs to stay quick;
// the release build checks a million.
#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
constexpr int kRandomKeys = 16;
#else
constexpr int kRandomKeys = 256;
#endif
constexpr int kBlocksPerKey = (1 << 20) / 256;

std::vector<uint8_t> FromHex(const char* hex) {
    std::vector<uint8_t> out(std::strlen(hex) / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned v = 0;
        std::sscanf(hex + 2 * i, "%2x", &v);
        out[i] = static_cast<uint8_t>(v);
    }
    return out;
}

// DesBlock over every block, the reference the paths must match.
std::vector<uint8_t> Reference(const std::vector<uint8_t>& data, const uint8_t key[8],
                               bool encipher) {
    std::vector<uint8_t> out(data.size());
    for (std::size_t at = 0; at < data.size(); at += 8)
        DesBlock(&data[at], &out[at], key, encipher ? 1 : 0);
    return out;
}

std::vector<uint8_t> Through(DesPath path, const std::vector<uint8_t>& data, const uint8_t key[8],
                             bool encipher) {
    auto out = data;
    const DesKeySchedule schedule(key);
    DesCryptBlocksWith(path, schedule, out.data(), out.size() / 8, encipher);
    return out;
}

// The first block that differs, for a readable failure.
std::string FirstDifference(const std::vector<uint8_t>& actual,
                            const std::vector<uint8_t>& expected) {
    for (std::size_t at = 0; at < actual.size(); at += 8)
        if (std::memcmp(&actual[at], &expected[at], 8) != 0)
            return "block " + std::to_string(at / 8) + " of " + std::to_string(actual.size() / 8);
    return "none";
}

class DesPathTest : public testing::TestWithParam<DesPath> {
protected:
    void SetUp() override {
        if (!DesPathSupported(GetParam()))
            GTEST_SKIP() << DesPathName(GetParam()) << " is not supported by this processor";
    }
};

TEST_P(DesPathTest, GivesThePublishedValuesInEveryBlockOfALongRun) {
    // A path that failed its own check would hand every run below to the
    // table, and they would pass without the path.
    ASSERT_TRUE(DesPathGivesThePublishedPair(GetParam()));
    struct Vector {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Vector vectors[] = {
        {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"}, // FIPS 81, appendix B
        {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"}, // SP 800-17, table A.1
        {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"}, // SP 800-17, table A.2
        {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"}, // SP 800-17, table A.4
        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"}, // SP 800-17, table A.4
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    };
    for (const Vector& v : vectors) {
        const auto key = FromHex(v.key), plain = FromHex(v.plain), cipher = FromHex(v.cipher);
        std::vector<uint8_t> plains, ciphers;
        for (int i = 0; i < 1031; ++i) {
            plains.insert(plains.end(), plain.begin(), plain.end());
            ciphers.insert(ciphers.end(), cipher.begin(), cipher.end());
        }
        const auto enciphered = Through(GetParam(), plains, key.data(), true);
        EXPECT_EQ(enciphered, ciphers) << v.key << ": " << FirstDifference(enciphered, ciphers);
        const auto deciphered = Through(GetParam(), ciphers, key.data(), false);
        EXPECT_EQ(deciphered, plains) << v.key << ": " << FirstDifference(deciphered, plains);
    }
}

// Every count from 1 to a little over two batches, so that each tail length
// and each way of splitting a run is taken, in place.
TEST_P(DesPathTest, AnyNumberOfBlocksIsTransformedInPlaceAndNothingBeyond) {
    const uint32_t seed = std::random_device{}();
    std::printf("random seed: %u\n", seed);
    std::mt19937_64 generator(seed);
    uint8_t key[8];
    for (uint8_t& b : key)
        b = static_cast<uint8_t>(generator());
    const DesKeySchedule schedule(key);
    std::vector<uint8_t> data(8 * 1100);
    for (uint8_t& b : data)
        b = static_cast<uint8_t>(generator());
    const auto expected = Reference(data, key, true);
    for (std::size_t blocks = 1; blocks <= 1100; blocks += (blocks < 80 ? 1 : 37)) {
        auto actual = data;
        DesCryptBlocksWith(GetParam(), schedule, actual.data(), blocks, true);
        ASSERT_EQ(std::memcmp(actual.data(), expected.data(), 8 * blocks), 0)
            << "seed " << seed << ", " << blocks << " blocks";
        ASSERT_EQ(std::memcmp(actual.data() + 8 * blocks, data.data() + 8 * blocks,
                              data.size() - 8 * blocks),
                  0)
            << "bytes past the run changed, " << blocks << " blocks";
        DesCryptBlocksWith(GetParam(), schedule, actual.data(), blocks, false);
        ASSERT_EQ(actual, data) << "seed " << seed << ", " << blocks << " blocks";
    }
}

// The engine calls in slices of any length; slices must join seamlessly.
TEST_P(DesPathTest, ARunCutIntoUnevenSlicesEqualsTheWholeRun) {
    const uint8_t key[8] = {0x0E, 0x32, 0x92, 0x32, 0xEA, 0x6D, 0x0D, 0x73};
    const DesKeySchedule schedule(key);
    std::vector<uint8_t> data(8 * 3000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 37 + (i >> 8));
    auto whole = data;
    DesCryptBlocksWith(GetParam(), schedule, whole.data(), 3000, true);
    auto sliced = data;
    std::size_t at = 0;
    for (std::size_t slice : {1u, 7u, 8u, 63u, 64u, 65u, 511u, 512u, 513u, 1000u}) {
        DesCryptBlocksWith(GetParam(), schedule, sliced.data() + 8 * at, slice, true);
        at += slice;
    }
    DesCryptBlocksWith(GetParam(), schedule, sliced.data() + 8 * at, 3000 - at, true);
    EXPECT_EQ(sliced, whole);
    EXPECT_EQ(whole, Reference(data, key, true));
}

// Blocks are 8 bytes, but a file's buffer need not start on any boundary.
TEST_P(DesPathTest, DataAtAnyAddressIsTransformedAlike) {
    const uint8_t key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    const DesKeySchedule schedule(key);
    std::vector<uint8_t> data(8 * 700);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i ^ (i >> 7));
    const auto expected = Reference(data, key, true);
    std::vector<uint8_t> storage(data.size() + 64);
    for (std::size_t shift : {1u, 3u, 8u, 13u, 32u}) {
        uint8_t* at = storage.data() + shift;
        std::memcpy(at, data.data(), data.size());
        DesCryptBlocksWith(GetParam(), schedule, at, 700, true);
        EXPECT_EQ(std::memcmp(at, expected.data(), expected.size()), 0) << "offset " << shift;
    }
}

// The engine may run files on several threads at once, each with its own key.
TEST_P(DesPathTest, RunsOnTwoThreadsAtOnceWithDifferentKeys) {
    const uint8_t keys[2][8] = {{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
                                {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
    std::vector<uint8_t> data(8 * 5000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint8_t> expected[2] = {Reference(data, keys[0], true),
                                        Reference(data, keys[1], true)};
    std::vector<uint8_t> actual[2] = {data, data};
    auto work = [&](int t) {
        const DesKeySchedule schedule(keys[t]);
        for (int round = 0; round < 8; ++round) {
            auto copy = data;
            DesCryptBlocksWith(GetParam(), schedule, copy.data(), 5000, true);
            if (copy != expected[t])
                return;
            actual[t] = std::move(copy);
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    EXPECT_EQ(actual[0], expected[0]);
    EXPECT_EQ(actual[1], expected[1]);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, DesPathTest,
                         testing::Values(DesPath::Table, DesPath::Portable, DesPath::Avx2,
                                         DesPath::Avx512),
                         [](const testing::TestParamInfo<DesPath>& path) {
                             return std::string(DesPathName(path.param));
                         });

// Random keys, each with a run of random blocks whose count is rarely a whole
// number of batches; every path sees the same pairs. Deciphering DesBlock's
// cipher text must give the plain text back, which checks that direction
// against DesBlock as well. The seed is printed so a failure can be replayed.
TEST(DesPaths, EveryPathMatchesDesBlockForRandomKeysAndBlocksInBothDirections) {
    const uint32_t seed = std::random_device{}();
    std::printf("random seed: %u\n", seed);
    std::mt19937_64 generator(seed);
    const auto paths = DesSupportedPaths();
    std::size_t pairs = 0;
    for (int k = 0; k < kRandomKeys; ++k) {
        uint8_t key[8];
        for (uint8_t& b : key)
            b = static_cast<uint8_t>(generator());
        const std::size_t blocks = kBlocksPerKey - 64 + generator() % 128;
        std::vector<uint8_t> plain(8 * blocks);
        for (uint8_t& b : plain)
            b = static_cast<uint8_t>(generator());
        const auto cipher = Reference(plain, key, true);
        for (DesPath path : paths) {
            const auto enciphered = Through(path, plain, key, true);
            ASSERT_EQ(enciphered, cipher) << DesPathName(path) << ", seed " << seed << ", key " << k
                                          << ": " << FirstDifference(enciphered, cipher);
            const auto deciphered = Through(path, cipher, key, false);
            ASSERT_EQ(deciphered, plain) << DesPathName(path) << ", seed " << seed << ", key " << k
                                         << ": " << FirstDifference(deciphered, plain);
        }
        pairs += blocks;
    }
    std::printf("%zu random key and block pairs through %zu paths\n", pairs, paths.size());
}

TEST(DesPaths, TheDispatcherTakesASupportedPathAndTheTableIsAlwaysThere) {
    const auto paths = DesSupportedPaths();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), DesPath::Table);
    EXPECT_EQ(DesFastestPath(), paths.back());
    EXPECT_TRUE(DesPathSupported(DesFastestPath()));
    std::string names;
    for (DesPath path : paths)
        names += std::string(" ") + DesPathName(path);
    std::printf("paths on this processor:%s\n", names.c_str());
}

} // namespace
} // namespace kelvane
