// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/PasswordRules.h"

#include "support/MemoryScan.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

PasswordCheck Check(std::string_view utf8, std::string* key = nullptr) {
    std::string bytes = "left over from before";
    const PasswordCheck check = ToKeyBytes(utf8, bytes);
    if (key)
        *key = bytes;
    return check;
}

TEST(PasswordRules, AsciiAndLatin1PassThroughOneBytePerCharacter) {
    std::string key;
    EXPECT_EQ(Check("secret", &key), PasswordCheck::Ok);
    EXPECT_EQ(key, "secret");
    // é U+00E9, ÿ U+00FF, no-break space U+00A0, each twice.
    EXPECT_EQ(Check("\xC3\xA9\xC3\xBF\xC2\xA0\xC3\xA9\xC3\xBF\xC2\xA0", &key), PasswordCheck::Ok);
    EXPECT_EQ(key, "\xE9\xFF\xA0\xE9\xFF\xA0");
}

TEST(PasswordRules, TheCodePagesOwnCharactersLandIn80hTo9Fh) {
    // € U+20AC -> 80h, ‚ U+201A -> 82h, Ÿ U+0178 -> 9Fh, ™ U+2122 -> 99h
    std::string key;
    EXPECT_EQ(Check("\xE2\x82\xAC\xE2\x80\x9A\xC5\xB8\xE2\x84\xA2xy", &key), PasswordCheck::Ok);
    EXPECT_EQ(key, "\x80\x82\x9F\x99xy");
    EXPECT_EQ(ToKeyBytes(u"\u20acAb\u00ff\u2122z", key), PasswordCheck::Ok);
    EXPECT_EQ(key, "\x80"
                   "Ab\xff\x99z");
}

TEST(PasswordRules, CharactersTheCodePageLacksAreRefusedAndLeaveNothing) {
    const char* refused[] = {
        "\xC2\x81",         // U+0081: 81h is unassigned in Windows-1252
        "\xC2\x80",         // U+0080, a C1 control, is not the euro sign
        "\xD0\x96",         // Cyrillic Zhe
        "\xF0\x9F\x94\x91", // an emoji, four bytes
    };
    for (const char* text : refused) {
        std::string key;
        EXPECT_EQ(Check(std::string("abcde") + text, &key), PasswordCheck::OutsideWindows1252);
        EXPECT_EQ(key, "");
    }
    std::string key;
    EXPECT_EQ(ToKeyBytes(u"abcde\u0101", key), PasswordCheck::OutsideWindows1252);
    EXPECT_EQ(key, "");
}

TEST(PasswordRules, MalformedUtf8IsToldApartFromForeignCharacters) {
    const char* malformed[] = {
        "\xC3",             // cut short
        "\xE9t\xE9xyz",     // Latin-1 bytes, not UTF-8
        "\xC0\xAF",         // overlong "/"
        "\xE0\x80\xAF",     // overlong "/" in three bytes
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xFF",
    };
    for (const char* text : malformed) {
        std::string key;
        EXPECT_EQ(Check(text, &key), PasswordCheck::NotUtf8) << text;
        EXPECT_EQ(key, "");
    }
    EXPECT_NE(PasswordProblemText(PasswordCheck::NotUtf8).find("UTF-8"), std::string::npos);
    EXPECT_EQ(PasswordProblemText(PasswordCheck::NotUtf8).find("Windows-1252"), std::string::npos);
}

TEST(PasswordRules, LengthCountsCharactersOfTheCodePageNotUtf8Bytes) {
    EXPECT_EQ(CheckPassword(u"12345"), PasswordCheck::WrongLength);
    EXPECT_EQ(CheckPassword(u"123456"), PasswordCheck::Ok);
    EXPECT_EQ(CheckPassword(u"12 45678"), PasswordCheck::Ok);
    EXPECT_EQ(CheckPassword(u"123456789"), PasswordCheck::WrongLength);
    EXPECT_EQ(CheckPassword(u""), PasswordCheck::WrongLength);
    std::string key;
    // Eight characters that take sixteen bytes of UTF-8.
    EXPECT_EQ(Check("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", &key),
              PasswordCheck::Ok);
    EXPECT_EQ(key, std::string(8, '\xE9'));
    EXPECT_EQ(Check("abcdefghi", &key), PasswordCheck::WrongLength);
    EXPECT_EQ(key, "");
}

TEST(PasswordRules, AZeroCharacterIsRefusedBecauseItWouldCutTheKeyShort) {
    EXPECT_EQ(Check(std::string("abc\0defg", 8)), PasswordCheck::HasZero);
    EXPECT_EQ(CheckPassword(std::u16string_view(u"abc\0def", 7)), PasswordCheck::HasZero);
}

TEST(PasswordRules, EveryRefusalHasItsOwnReason) {
    const PasswordCheck refusals[] = {PasswordCheck::NotUtf8, PasswordCheck::OutsideWindows1252,
                                      PasswordCheck::HasZero, PasswordCheck::WrongLength};
    EXPECT_EQ(PasswordProblemText(PasswordCheck::Ok), "");
    for (const PasswordCheck a : refusals) {
        EXPECT_FALSE(PasswordProblemText(a).empty());
        for (const PasswordCheck b : refusals) {
            if (a != b) {
                EXPECT_NE(PasswordProblemText(a), PasswordProblemText(b));
            }
        }
    }
}

TEST(PasswordRules, TheCharactersThatCannotBeUsedAreNamedOnceEach) {
    EXPECT_EQ(CharactersOutsideWindows1252(u"abc\u20ac\u00e9"), "");
    // Ж twice, ā once, an emoji as a surrogate pair, a lone surrogate.
    EXPECT_EQ(CharactersOutsideWindows1252(u"\u0416a\u0101\u0416\U0001F511"),
              "\xD0\x96\xC4\x81\xF0\x9F\x94\x91");
    EXPECT_EQ(CharactersOutsideWindows1252(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(CharactersOutsideWindows1252(u"x\u0081"), "\xC2\x81");
}

constexpr uint8_t kMask = 0x33;
// "Kp9$vQ2&", masked: the test never holds it whole in writable memory.
constexpr testing_support::MaskedSecret<8> kSecret{kMask,
                                                   {'K' ^ kMask, 'p' ^ kMask, '9' ^ kMask,
                                                    '$' ^ kMask, 'v' ^ kMask, 'Q' ^ kMask,
                                                    '2' ^ kMask, '&' ^ kMask}};

// Runs the check far below the caller's stack frame, where the search's own
// calls don't reach: a copy left on the stack stays there to be found.
[[gnu::noinline]] PasswordCheck CheckDeepDown(std::u16string_view text) {
    volatile char depth[32 * 1024];
    depth[0] = 0;
    const PasswordCheck check = CheckPassword(text);
    // A use of the frame after the call: no tail call may drop it first.
    asm volatile("" : : "r"(&depth[0]) : "memory");
    return check;
}

TEST(PasswordRules, CheckingOrRefusingAPasswordLeavesNoCopyBehind) {
    // The texts typed are UTF-16 in read-only data, never the 8-bit key.
    EXPECT_EQ(CheckDeepDown(u"Kp9$vQ2&"), PasswordCheck::Ok);
    std::string key;
    EXPECT_EQ(ToKeyBytes(u"--------Kp9$vQ2&", key), PasswordCheck::WrongLength);
    EXPECT_EQ(ToKeyBytes(u"--------Kp9$vQ2&\u0416", key), PasswordCheck::OutsideWindows1252);
    EXPECT_TRUE(testing_support::FindSecret(kSecret).empty());

    // And the search does see a key that is still kept.
    ASSERT_EQ(ToKeyBytes(u"Kp9$vQ2&", key), PasswordCheck::Ok);
    EXPECT_FALSE(testing_support::FindSecret(kSecret).empty());
    std::fill(key.begin(), key.end(), '\0');
}

} // namespace
} // namespace kelvane
