#include "crypto/Des.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace kelvane {
namespace {

std::array<uint8_t, 8> FromHex(const char* hex) {
    std::array<uint8_t, 8> out{};
    for (int i = 0; i < 8; ++i) {
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
    testing::Values(
        KnownAnswer{"FIPS 81, appendix B: \"Now is t\"", "0123456789ABCDEF", "4E6F772069732074",
                    "3FA40E8A984D4815"},
        KnownAnswer{"NIST SP 800-17, table A.1, round 1", "0101010101010101", "8000000000000000",
                    "95F8A5E5DD31D900"},
        KnownAnswer{"NIST SP 800-17, table A.1, round 2", "0101010101010101", "4000000000000000",
                    "DD7F121CA5015619"},
        KnownAnswer{"NIST SP 800-17, table A.1, round 3", "0101010101010101", "2000000000000000",
                    "2E8653104F3834EA"},
        KnownAnswer{"NIST SP 800-17, table A.2, round 1", "8001010101010101", "0000000000000000",
                    "95A8D72813DAA94D"},
        KnownAnswer{"NIST SP 800-17, table A.2, round 2", "4001010101010101", "0000000000000000",
                    "0EEC1487DD8C26D5"},
        KnownAnswer{"NIST SP 800-17, table A.4, round 1", "7CA110454A1A6E57", "01A1D6D039776742",
                    "690F5B0D9A26939B"},
        KnownAnswer{"NIST SP 800-17, table A.4, round 2", "0131D9619DC1376E", "5CD54CA83DEF57DA",
                    "7A389D10354BD271"},
        KnownAnswer{"NIST SP 800-17, table A.4, round 3", "07A1133E4A0B2686", "0248D43806F67172",
                    "868EBB51CAB4599A"}),
    [](const testing::TestParamInfo<KnownAnswer>& info) {
        return std::string("Key") + info.param.key + "Plain" + info.param.plain;
    });

} // namespace
} // namespace kelvane
