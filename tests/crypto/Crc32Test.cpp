// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Crc32.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kelvane {
namespace {

uint32_t CheckOf(const std::string& text) {
    return Crc32Of(text.data(), static_cast<uint32_t>(text.size()));
}

TEST(Crc32, GivesTheWorkedValuesAndNotTheStandardCrc) {
    EXPECT_EQ(CheckOf("abc"), 0x5C6277B7u);
    EXPECT_NE(CheckOf("abc"), 0x352441C2u);
    EXPECT_EQ(CheckOf("a"), 0xC0136C98u);
    EXPECT_EQ(CheckOf(std::string(1, '\x01')), 0x96000000u) << "W(1), not the table's entry 1";
    EXPECT_NE(CheckOf("ab"), CheckOf("ba"));
}

TEST(Crc32, EmptyAbsentAndAllZeroRunsGiveZero) {
    EXPECT_EQ(Crc32Of(nullptr, 0), 0u);
    EXPECT_EQ(Crc32Of(nullptr, 100), 0u);
    EXPECT_EQ(CheckOf(""), 0u);
    const std::vector<uint8_t> zeros(100000, 0);
    EXPECT_EQ(Crc32Of(zeros.data(), static_cast<uint32_t>(zeros.size())), 0u);
}

TEST(Crc32, TableWordsAreReadAtByteOffsetsOfTheTableImage) {
    EXPECT_EQ(Crc32TableWord(0), 0u);
    EXPECT_EQ(Crc32TableWord(1), 0x96000000u);
    EXPECT_EQ(Crc32TableWord(2), 0x30960000u);
    EXPECT_EQ(Crc32TableWord(3), 0x07309600u);
    EXPECT_EQ(Crc32TableWord(4), 0x77073096u);
    EXPECT_EQ(Crc32TableWord(97), 0xC0136C98u);
    EXPECT_EQ(Crc32TableWord(250), 0x2D3DC161u);
    EXPECT_EQ(Crc32TableWord(110), 0x5C4F8A65u);
    // Index 255 reads image bytes 255..258: the top byte of entry 63
    // (B6662D3Dh), then the low three bytes of entry 64 (76DC4190h).
    EXPECT_EQ(Crc32TableWord(255), 0xDC4190B6u);
}

TEST(Crc32, ContinuingOverSlicesEqualsOneRun) {
    std::vector<uint8_t> bytes(5000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    const uint32_t whole = Crc32Of(bytes.data(), static_cast<uint32_t>(bytes.size()));
    uint32_t sliced = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 777)
        sliced =
            Crc32Continue(sliced, bytes.data() + at, std::min<std::size_t>(777, bytes.size() - at));
    EXPECT_EQ(sliced, whole);
}

// The rule in its plainest form: one table word per byte, the whole running
// value carried from byte to byte.
uint32_t Reference(uint32_t crc, const uint8_t* data, std::size_t count) {
    for (std::size_t n = 0; n < count; ++n)
        crc = (crc >> 8) ^ Crc32TableWord(static_cast<int>((crc ^ data[n]) & 0xFF));
    return crc;
}

TEST(Crc32, AgreesWithThePlainLoopOnRandomRunsStartsAndSlices) {
    const unsigned seed = std::random_device{}();
    std::printf("checksum comparison seed %u\n", seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(70000);
    for (auto& byte : bytes)
        byte = static_cast<uint8_t>(random());
    for (int round = 0; round < 3000; ++round) {
        // Mostly short runs at every alignment, now and then a long one.
        const std::size_t length = round % 100 == 0 ? random() % 65536 : random() % 300;
        const std::size_t start = random() % 64;
        const uint8_t* run = bytes.data() + start;
        ASSERT_EQ(Crc32Of(run, static_cast<uint32_t>(length)), Reference(0, run, length))
            << "length " << length << " at " << start;
        const auto from = static_cast<uint32_t>(random());
        ASSERT_EQ(Crc32Continue(from, run, length), Reference(from, run, length))
            << "continued from " << from << ", length " << length;
    }
    // Runs of one repeated byte follow one path through the table each.
    for (int value = 0; value < 256; ++value) {
        const std::vector<uint8_t> same(1000, static_cast<uint8_t>(value));
        ASSERT_EQ(Crc32Of(same.data(), 1000), Reference(0, same.data(), 1000)) << value;
    }
}

} // namespace
} // namespace kelvane
