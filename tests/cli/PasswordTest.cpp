// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Password.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kelvane::cli {
namespace {

// A pipe holding `input`, its writing end closed unless `keepOpen`.
class Pipe {
public:
    explicit Pipe(const std::string& input, bool keepOpen = false) {
        EXPECT_EQ(::pipe(ends_), 0);
        EXPECT_EQ(::write(ends_[1], input.data(), input.size()),
                  static_cast<ssize_t>(input.size()));
        if (!keepOpen)
            CloseWriter();
    }
    ~Pipe() {
        ::close(ends_[0]);
        CloseWriter();
    }
    int Reader() const { return ends_[0]; }
    void CloseWriter() {
        if (ends_[1] >= 0)
            ::close(ends_[1]);
        ends_[1] = -1;
    }
    std::string Rest() {
        CloseWriter();
        std::string rest;
        char c;
        while (::read(ends_[0], &c, 1) == 1)
            rest += c;
        return rest;
    }

private:
    int ends_[2] = {-1, -1};
};

TEST(PasswordLine, OnlyTheFirstLineCountsWithoutItsLineEnd) {
    const std::pair<std::string, std::string> cases[] = {
        {"secret1\nsecond line\n", "secret1"},
        {"secret1\r\n", "secret1"},
        {"no end", "no end"},
        {"\nsecret1\n", ""},
        {" spaced \n", " spaced "},
    };
    for (const auto& [input, expected] : cases) {
        Pipe in(input);
        SecretString line;
        EXPECT_EQ(ReadFirstLine(in.Reader(), line), LineRead::Ok);
        EXPECT_EQ(line.Text(), expected);
    }
    Pipe empty("");
    SecretString line;
    EXPECT_EQ(ReadFirstLine(empty.Reader(), line), LineRead::Nothing);
    EXPECT_EQ(ReadFirstLine(-1, line), LineRead::Failed);
}

TEST(PasswordLine, NothingPastTheLineIsTakenFromAPipe) {
    // A script may send more on the same standard input after the password.
    Pipe in("secret1\nfor the next reader\n");
    SecretString line;
    ASSERT_EQ(ReadFirstLine(in.Reader(), line), LineRead::Ok);
    EXPECT_EQ(in.Rest(), "for the next reader\n");
}

TEST(PasswordLine, AnEndlessOrOverlongLineIsRefusedAfterABoundedRead) {
    const std::string longest(kLongestPasswordLine, 'x');
    for (const std::string& end : {std::string("\n"), std::string("\r\n"), std::string()}) {
        Pipe fits(longest + end);
        SecretString line;
        EXPECT_EQ(ReadFirstLine(fits.Reader(), line), LineRead::Ok);
        EXPECT_EQ(line.Text().size(), kLongestPasswordLine);
    }
    Pipe over(longest + "y\n");
    SecretString line;
    line.Text() = "before";
    EXPECT_EQ(ReadFirstLine(over.Reader(), line), LineRead::TooLong);
    EXPECT_EQ(line.Text(), "");

    // An endless source: the read must stop by itself.
    const int zeros = ::open("/dev/zero", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(zeros, 0);
    EXPECT_EQ(ReadFirstLine(zeros, line), LineRead::TooLong);
    ::close(zeros);

    // A writer that keeps the pipe open: the read ends without waiting for it.
    Pipe open(std::string(2 * kLongestPasswordLine, 'z'), true);
    EXPECT_EQ(ReadFirstLine(open.Reader(), line), LineRead::TooLong);
    EXPECT_EQ(open.Rest().size(), kLongestPasswordLine - 2);
}

std::string Problem(const std::string& entered, std::string* converted = nullptr) {
    SecretString in, out;
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
    // Latin-1 bytes are not a character set problem but an encoding one.
    EXPECT_NE(Problem("abcd\xE9\xE9").find("not valid UTF-8"), std::string::npos);
}

TEST(KeyPassword, AZeroCharacterIsRefusedBecauseItWouldCutTheKeyShort) {
    EXPECT_NE(Problem(std::string("abc\0defg", 8)).find("zero"), std::string::npos);
}

} // namespace
} // namespace kelvane::cli
