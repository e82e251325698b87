// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Des.h"

#include "crypto/SelfTest.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kelvane {
namespace {

std::array<uint8_t, 8> FromHex(const char* hex) {
    std::array<uint8_t, 8> out{};
    for (std::size_t i = 0; i < 8; ++i) {
        unsigned v = 0;
        std::sscanf(hex + 2 * i, "%2x", &v);
        out[i] = static_cast<uint8_t>(v);
    }
    return out;
}

struct KnownAnswer {
    const char* source;
    const char* key;
    const char* plain;
    const char* cipher;
};

class DesKnownAnswer : public testing::TestWithParam<KnownAnswer> {};

TEST_P(DesKnownAnswer, EnciphersAndDeciphersToThePublishedValue) {
    const KnownAnswer& row = GetParam();
    const auto key = FromHex(row.key), plain = FromHex(row.plain), cipher = FromHex(row.cipher);
    std::array<uint8_t, 8> out{};
    DesBlock(plain.data(), out.data(), key.data(), 1);
    EXPECT_EQ(out, cipher) << row.source;
    DesBlock(cipher.data(), out.data(), key.data(), 0);
    EXPECT_EQ(out, plain) << row.source;
}

INSTANTIATE_TEST_SUITE_P(
    PublishedVectors, DesKnownAnswer,
    testing::Values(KnownAnswer{"FIPS 81, appendix B: \"Now is t\"", "0123456789ABCDEF",
                                "4E6F772069732074", "3FA40E8A984D4815"},
                    KnownAnswer{"NIST SP 800-17, table A.1, round 1", "0101010101010101",
                                "8000000000000000", "95F8A5E5DD31D900"},
                    KnownAnswer{"NIST SP 800-17, table A.1, round 2", "0101010101010101",
                                "4000000000000000", "DD7F121CA5015619"},
                    KnownAnswer{"NIST SP 800-17, table A.1, round 3", "0101010101010101",
                                "2000000000000000", "2E8653104F3834EA"},
                    KnownAnswer{"NIST SP 800-17, table A.2, round 1", "8001010101010101",
                                "0000000000000000", "95A8D72813DAA94D"},
                    KnownAnswer{"NIST SP 800-17, table A.2, round 2", "4001010101010101",
                                "0000000000000000", "0EEC1487DD8C26D5"},
                    KnownAnswer{"NIST SP 800-17, table A.4, round 1", "7CA110454A1A6E57",
                                "01A1D6D039776742", "690F5B0D9A26939B"},
                    KnownAnswer{"NIST SP 800-17, table A.4, round 2", "0131D9619DC1376E",
                                "5CD54CA83DEF57DA", "7A389D10354BD271"},
                    KnownAnswer{"NIST SP 800-17, table A.4, round 3", "07A1133E4A0B2686",
                                "0248D43806F67172", "868EBB51CAB4599A"}),
    [](const testing::TestParamInfo<KnownAnswer>& answer) {
        return std::string("Key") + answer.param.key + "Plain" + answer.param.plain;
    });

// Random cases print their seed so a failure can be replayed.
uint32_t TestSeed() {
    const uint32_t seed = std::random_device{}();
    std::printf("random seed: %u\n", seed);
    return seed;
}

void Fill(std::mt19937& generator, uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(generator());
}

TEST(DesProperties, DecipheringUndoesEncipheringForRandomKeysAndBlocks) {
    const uint32_t seed = TestSeed();
    std::mt19937 generator(seed);
    for (int i = 0; i < 2000; ++i) {
        uint8_t key[8], block[8], cipher[8], back[8];
        Fill(generator, key, 8);
        Fill(generator, block, 8);
        DesBlock(block, cipher, key, 1);
        DesBlock(cipher, back, key, 0);
        ASSERT_EQ(std::memcmp(back, block, 8), 0) << "seed " << seed << " case " << i;
    }
}

TEST(DesProperties, ParityBitsOfTheKeyTakeNoPart) {
    const uint32_t seed = TestSeed();
    std::mt19937 generator(seed);
    for (int i = 0; i < 200; ++i) {
        uint8_t key[8], flipped[8], block[8], a[8], b[8];
        Fill(generator, key, 8);
        Fill(generator, block, 8);
        for (int k = 0; k < 8; ++k)
            flipped[k] = static_cast<uint8_t>(key[k] ^ (generator() & 1));
        for (uint8_t direction : std::array<uint8_t, 2>{0, 1}) {
            DesBlock(block, a, key, direction);
            DesBlock(block, b, flipped, direction);
            ASSERT_EQ(std::memcmp(a, b, 8), 0) << "seed " << seed << " case " << i;
        }
    }
}

TEST(DesProperties, AnyNonZeroDirectionEnciphers) {
    const auto key = FromHex("133457799BBCDFF1"), block = FromHex("0123456789ABCDEF");
    std::array<uint8_t, 8> one{}, other{};
    DesBlock(block.data(), one.data(), key.data(), 1);
    for (uint8_t direction : std::array<uint8_t, 3>{2, 0x80, 0xFF}) {
        DesBlock(block.data(), other.data(), key.data(), direction);
        EXPECT_EQ(other, one) << int(direction);
    }
    EXPECT_EQ(one,
              FromHex("85E813540F0AB405")); // the worked example of "The DES Algorithm Illustrated"
}

TEST(DesProperties, TheAllZeroKeyIsWeakAndEncipheringTwiceReturnsTheBlock) {
    const uint8_t key[8] = {};
    const auto block = FromHex("0123456789ABCDEF");
    std::array<uint8_t, 8> once{}, twice{};
    DesBlock(block.data(), once.data(), key, 1);
    DesBlock(once.data(), twice.data(), key, 1);
    EXPECT_NE(once, block);
    EXPECT_EQ(twice, block);
}

TEST(DesProperties, OutputMayOverwriteTheInput) {
    const auto key = FromHex("0123456789ABCDEF");
    auto block = FromHex("4E6F772069732074");
    DesBlock(block.data(), block.data(), key.data(), 1);
    EXPECT_EQ(block, FromHex("3FA40E8A984D4815"));
}

TEST(DesProperties, TheBlockLoopMatchesDesBlockInBothDirections) {
    const uint32_t seed = TestSeed();
    std::mt19937 generator(seed);
    uint8_t key[8];
    Fill(generator, key, 8);
    std::vector<uint8_t> data(8 * 333);
    Fill(generator, data.data(), static_cast<int>(data.size()));
    for (bool encipher : {true, false}) {
        auto expected = data;
        for (std::size_t at = 0; at < data.size(); at += 8)
            DesBlock(&expected[at], &expected[at], key, encipher ? 1 : 0);
        auto actual = data;
        const DesKeySchedule schedule(key);
        DesCryptBlocks(schedule, actual.data(), actual.size() / 8, encipher);
        EXPECT_EQ(actual, expected) << "seed " << seed;
    }
}

TEST(DesProperties, TheStartUpSelfTestPassesOnThisBuild) {
    EXPECT_TRUE(CryptoSelfTest());
}

} // namespace
} // namespace kelvane
