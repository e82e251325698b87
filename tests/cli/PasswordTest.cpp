#include "cli/Password.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kelvane::cli {
namespace {

TEST(Windows1252, AsciiAndLatin1PassThroughOneBytePerCharacter) {
    EXPECT_EQ(Utf8ToWindows1252("secret"), "secret");
    // é U+00E9, ÿ U+00FF, no-break space U+00A0
    EXPECT_EQ(Utf8ToWindows1252("\xC3\xA9\xC3\xBF\xC2\xA0"), "\xE9\xFF\xA0");
}

TEST(Windows1252, TheCodePagesOwnCharactersLandIn80hTo9Fh) {
    // € U+20AC -> 80h, ‚ U+201A -> 82h, Ÿ U+0178 -> 9Fh, ™ U+2122 -> 99h
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82\xAC\xE2\x80\x9A\xC5\xB8\xE2\x84\xA2"),
              "\x80\x82\x9F\x99");
}

TEST(Windows1252, CharactersTheCodePageLacksAreRefused) {
    const char* refused[] = {
        "\xC2\x81",         // U+0081: 81h is unassigned in Windows-1252
        "\xC2\x80",         // U+0080, a C1 control, is not the euro sign
        "\xD0\x96",         // Cyrillic Zhe
        "\xF0\x9F\x94\x91", // an emoji, four bytes
    };
    for (const char* text : refused)
        EXPECT_EQ(Utf8ToWindows1252(std::string("abc") + text), std::nullopt);
}

TEST(Windows1252, MalformedUtf8IsRefusedRatherThanGuessed) {
    const char* malformed[] = {
        "\xC3",             // cut short
        "\xE9t\xE9",        // Latin-1 bytes, not UTF-8
        "\xC0\xAF",         // overlong "/"
        "\xE0\x80\xAF",     // overlong "/" in three bytes
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xFF",
    };
    for (const char* text : malformed)
        EXPECT_EQ(Utf8ToWindows1252(text), std::nullopt) << text;
}

TEST(PasswordLine, OnlyTheFirstLineCountsWithoutItsLineEnd) {
    const std::pair<std::string, std::string> cases[] = {
        {"secret1\nsecond line\n", "secret1"},
        {"secret1\r\n", "secret1"},
        {"no end", "no end"},
        {"\nsecret1\n", ""},
        {" spaced \n", " spaced "},
    };
    for (const auto& [input, expected] : cases) {
        std::istringstream in(input);
        SecretText line;
        EXPECT_TRUE(ReadFirstLine(in, line));
        EXPECT_EQ(line.Text(), expected);
    }
    std::istringstream empty;
    SecretText line;
    EXPECT_FALSE(ReadFirstLine(empty, line));
}

std::string Problem(const std::string& entered, std::string* converted = nullptr) {
    SecretText in, out;
    in.Text() = entered;
    std::string problem;
    ToKeyPassword(in, out, problem);
    if (converted)
        *converted = out.Text();
    return problem;
}

TEST(KeyPassword, SixToEightCharactersAreAcceptedCountedAfterConversion) {
    std::string converted;
    EXPECT_EQ(Problem("abcdef"), "");
    EXPECT_EQ(Problem("abcdefgh"), "");
    // Eight characters that take sixteen bytes of UTF-8.
    EXPECT_EQ(
        Problem("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", &converted),
        "");
    EXPECT_EQ(converted, std::string(8, '\xE9'));
}

TEST(KeyPassword, WrongLengthsAndForeignCharactersAreRefusedAndLeaveNoPassword) {
    std::string converted = "untouched";
    EXPECT_NE(Problem("abcde", &converted).find("6 to 8"), std::string::npos);
    EXPECT_EQ(converted, "");
    EXPECT_NE(Problem("abcdefghi").find("6 to 8"), std::string::npos);
    EXPECT_NE(Problem("").find("6 to 8"), std::string::npos);
    EXPECT_NE(Problem("abcde\xD0\x96").find("Windows-1252"), std::string::npos);
}

TEST(KeyPassword, AZeroCharacterIsRefusedBecauseItWouldCutTheKeyShort) {
    EXPECT_NE(Problem(std::string("abc\0defg", 8)).find("zero"), std::string::npos);
}

} // namespace
} // namespace kelvane::cli
