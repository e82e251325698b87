// SPDX-License-Identifier: GPL-3.0-or-later
// The age header against published vectors of the format: the scrypt and
// X25519 files of its test kit, the example keys of its description, and
// RFC 4648 and RFC 5869 for the encodings and the key derivation.
#include "engine/AgeFormat.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sodium.h>

namespace kelvane::age {
namespace {

std::vector<uint8_t> FromHex(std::string_view hex) {
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(
            static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

std::string ToHex(const uint8_t* data, std::size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i)
        text += {kDigits[data[i] >> 4], kDigits[data[i] & 15]};
    return text;
}

FileKey YellowSubmarine() {
    FileKey key;
    std::memcpy(key.data(), "YELLOW SUBMARINE", kFileKeySize);
    return key;
}

TEST(AgeFormat, Base64BothFormsMatchTheRfcVectors) {
    const struct {
        std::string_view plain, unpadded, padded;
    } rows[] = {
        {"", "", ""},
        {"f", "Zg", "Zg=="},
        {"fo", "Zm8", "Zm8="},
        {"foo", "Zm9v", "Zm9v"},
        {"foob", "Zm9vYg", "Zm9vYg=="},
        {"foobar", "Zm9vYmFy", "Zm9vYmFy"},
    };
    for (const auto& row : rows) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(row.plain.data());
        EXPECT_EQ(Base64Unpadded(bytes, row.plain.size()), row.unpadded) << row.plain;
        EXPECT_EQ(Base64Padded(bytes, row.plain.size()), row.padded) << row.plain;
    }
}

TEST(AgeFormat, HkdfMatchesTheRfcVectors) {
    ASSERT_TRUE(CryptoReady());
    const std::vector<uint8_t> ikm(22, 0x0b);
    const struct {
        std::string salt, info, okm;
    } rows[] = {
        {"000102030405060708090a0b0c", "f0f1f2f3f4f5f6f7f8f9",
         "3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf"},
        {"", "", "8da4e775a563c18f715f802a063c5a31b8a11f5c5ee1879ec3454e5f3c738d2d"},
    };
    for (const auto& row : rows) {
        const auto salt = FromHex(row.salt);
        const auto info = FromHex(row.info);
        uint8_t out[kKeySize];
        HkdfSha256(ikm.data(), ikm.size(), salt.data(), salt.size(),
                   {reinterpret_cast<const char*>(info.data()), info.size()}, out);
        EXPECT_EQ(ToHex(out, sizeof out), row.okm);
    }
}

TEST(AgeFormat, ScryptHeaderIsTheTestKitFileByteForByte) {
    ASSERT_TRUE(CryptoReady());
    const auto salt = FromHex("ac5d3f3706e55071d3a604204697b909");
    Stanza stanza;
    ASSERT_TRUE(ScryptStanza(YellowSubmarine(), "password", salt.data(), 10, stanza));
    EXPECT_EQ(HeaderText(YellowSubmarine(), {stanza}),
              "age-encryption.org/v1\n"
              "-> scrypt rF0/NwblUHHTpgQgRpe5CQ 10\n"
              "gUjEymFKMVXQEKdMMHL24oYexjE3TIC0O0zGSqJ2aUY\n"
              "--- IOXiQYStkoT1mvZW2tFOqZdhRVvj58egABx/sWfZQbc\n");
}

TEST(AgeFormat, HeaderMacOfTheTestKitX25519File) {
    ASSERT_TRUE(CryptoReady());
    Stanza stanza{{"X25519", "TEiF0ypqr+bpvcqXNyCVJpL7OuwPdVwPL7KQEbFDOCc"},
                  FromHex("12610200470a37e9ff56cf526d6895f87bb4afe13c47bec375663277cde7c3b5")};
    EXPECT_EQ(HeaderText(YellowSubmarine(), {stanza}),
              "age-encryption.org/v1\n"
              "-> X25519 TEiF0ypqr+bpvcqXNyCVJpL7OuwPdVwPL7KQEbFDOCc\n"
              "EmECAEcKN+n/Vs9SbWiV+Hu0r+E8R77DdWYyd83nw7U\n"
              "--- Vn+54jqiiUCE+WZcEVY3f1sqHjlu/z1LCQ/T7Xm7qI0\n");
}

// A body of a multiple of 64 columns ends with an empty line.
TEST(AgeFormat, StanzaBodyOfWholeLinesEndsWithAnEmptyLine) {
    Stanza stanza{{"grease"}, std::vector<uint8_t>(48, 0)};
    const std::string header = HeaderText(YellowSubmarine(), {stanza});
    EXPECT_NE(header.find("-> grease\n" + std::string(64, 'A') + "\n\n---"), std::string::npos);
}

// The description's example identity and its recipient: the identity in
// upper case, the recipient in lower case, the one derived from the other.
TEST(AgeFormat, RecipientDecodesToTheIdentitysPublicKey) {
    ASSERT_TRUE(CryptoReady());
    std::string hrp;
    std::vector<uint8_t> secret;
    ASSERT_TRUE(Bech32Decode(
        "AGE-SECRET-KEY-1GFPYYSJZGFPYYSJZGFPYYSJZGFPYYSJZGFPYYSJZGFPYYSJZGFPQ4EGAEX", hrp, secret));
    EXPECT_EQ(hrp, "age-secret-key-");
    ASSERT_EQ(secret.size(), kKeySize);
    Key32 derived{}, recipient{};
    crypto_scalarmult_base(derived.data(), secret.data());
    ASSERT_TRUE(ParseRecipient("age1zvkyg2lqzraa2lnjvqej32nkuu0ues2s82hzrye869xeexvn73equnujwj",
                               recipient));
    EXPECT_EQ(derived, recipient);
}

TEST(AgeFormat, RecipientRefusals) {
    const char* rows[] = {
        "age1zvkyg2lqzraa2lnjvqej32nkuu0ues2s82hzrye869xeexvn73equnujwq", // checksum
        "AGE1ZVKYG2LQZRAA2LNJVQEJ32NKUU0UES2S82HZRYE869XEEXVN73EQUNUJWJ", // upper case
        "age1zvkyg2lqzraa2lnjvqej32nkuu0ues2s82hzrye869xeexvn73equnujWj", // mixed case
        "age1qypqxpq9qcrsszg2pvxq6rs0zqg3yyc5lsp73x", // 20 bytes, checksum right
        "AGE-SECRET-KEY-1GFPYYSJZGFPYYSJZGFPYYSJZGFPYYSJZGFPYYSJZGFPYYSJZGFPQ4EGAEX", // identity
        "age1",
        "",
        "ssh-ed25519 AAAA",
    };
    for (const char* row : rows) {
        Key32 key{};
        EXPECT_FALSE(ParseRecipient(row, key)) << row;
    }
}

// A file as people keep them: comments, blank lines, indentation, a
// Windows line end and no line end at the last key.
TEST(AgeFormat, RecipientsTextTakesEachKeyLineInOrder) {
    ASSERT_TRUE(CryptoReady());
    const std::string first = "age1zvkyg2lqzraa2lnjvqej32nkuu0ues2s82hzrye869xeexvn73equnujwj";
    const std::string second = "age1a2zgtm6kfdln9thmw0pxsug8jra3crp42n6f0w7qjvuap55kxc3qf0zx30";
    Key32 firstKey{}, secondKey{};
    ASSERT_TRUE(ParseRecipient(first, firstKey));
    ASSERT_TRUE(ParseRecipient(second, secondKey));
    std::vector<Key32> keys;
    std::string problem;
    ASSERT_TRUE(ParseRecipients("# team\n\n  " + second + "\t\r\n   # old\n" + first, "keys", keys,
                                problem))
        << problem;
    EXPECT_EQ(keys, (std::vector<Key32>{secondKey, firstKey}));

    keys.clear();
    EXPECT_FALSE(
        ParseRecipients(first + "\n# next\n" + first + " " + second, "keys", keys, problem));
    EXPECT_EQ(problem, "\"keys\" line 3: not an X25519 age recipient (age1...)");
}

TEST(AgeFormat, ArmorWrapsAt64ColumnsWithPadding) {
    std::string text;
    ArmorWriter armor([&](const uint8_t* data, std::size_t size) {
        text.append(reinterpret_cast<const char*>(data), size);
        return true;
    });
    const std::vector<uint8_t> bytes(49, 0xff);
    ASSERT_TRUE(armor.Write(bytes.data(), 20));
    ASSERT_TRUE(armor.Write(bytes.data() + 20, 29));
    ASSERT_TRUE(armor.Finish());
    EXPECT_EQ(text, "-----BEGIN AGE ENCRYPTED FILE-----\n" + std::string(64, '/') +
                        "\n/w==\n-----END AGE ENCRYPTED FILE-----\n");
}

} // namespace
} // namespace kelvane::age
