// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"

#include "cli/Actions.h"

#include <cctype>
#include <gtest/gtest.h>

namespace kelvane::cli {
namespace {

ParsedArguments Parse(std::vector<std::string> args) {
    return ParseArguments(args);
}

TEST(Arguments, SwitchesMayBeBundledSpelledOutOrPlacedAmongTheFiles) {
    const auto a = Parse({"encrypt", "-kfq", "one", "--output=out", "--password-file", "-"});
    ASSERT_TRUE(a.Ok()) << a.error;
    EXPECT_EQ(a.options.command, Command::Encrypt);
    EXPECT_TRUE(a.options.keep && a.options.force && a.options.quiet);
    EXPECT_EQ(a.options.output, "out");
    EXPECT_EQ(a.options.passwordFile, "-");
    EXPECT_EQ(a.options.files, std::vector<std::string>{"one"});

    const auto b = Parse({"decrypt", "x.cry", "-pPW", "-o", "plain", "--keep"});
    ASSERT_TRUE(b.Ok()) << b.error;
    EXPECT_EQ(b.options.passwordFile, "PW");
    EXPECT_EQ(b.options.output, "plain");
    EXPECT_TRUE(b.options.keep);
}

TEST(Arguments, RecursionAndTheNumberOfFilesAtOnceInEverySpelling) {
    const auto a = Parse({"encrypt", "-rqj3", "dir"});
    ASSERT_TRUE(a.Ok()) << a.error;
    EXPECT_TRUE(a.options.recurse && a.options.quiet);
    EXPECT_EQ(a.options.jobs, 3u);
    const auto b = Parse({"verify", "--recursive", "--jobs=256", "x"});
    ASSERT_TRUE(b.Ok()) << b.error;
    EXPECT_EQ(b.options.jobs, 256u);
    const auto c = Parse({"decrypt", "--jobs", "1", "--recursive", "x"});
    ASSERT_TRUE(c.Ok()) << c.error;
    EXPECT_EQ(c.options.jobs, 1u);
    EXPECT_TRUE(c.options.recurse);
    EXPECT_EQ(Parse({"encrypt", "a"}).options.jobs, 0u) << "0: one per processor";
}

TEST(Arguments, AfterDoubleDashEverythingIsAFileAndALoneDashIsAFile) {
    const auto a = Parse({"verify", "-q", "--", "-k", "--force"});
    ASSERT_TRUE(a.Ok()) << a.error;
    EXPECT_EQ(a.options.files, (std::vector<std::string>{"-k", "--force"}));
    const auto b = Parse({"verify", "-q", "--", "-"});
    ASSERT_TRUE(b.Ok()) << b.error;
    EXPECT_EQ(b.options.files, std::vector<std::string>{"-"});
}

TEST(Arguments, HelpAndVersionNeedNoFiles) {
    for (const char* help : {"-h", "--help", "help"})
        EXPECT_EQ(Parse({help}).options.command, Command::Help);
    EXPECT_EQ(Parse({"--version"}).options.command, Command::Version);
    for (const char* command : {"encrypt", "decrypt", "verify", "info"}) {
        const auto help = Parse({command, "--help"});
        EXPECT_TRUE(help.Ok() && help.options.help) << command << ": " << help.error;
        EXPECT_TRUE(Parse({command, "-h"}).options.help) << command;
    }
}

TEST(Arguments, ADashIsStandardInputAndOutput) {
    const auto a = Parse({"encrypt", "--password-env", "PW", "-"});
    ASSERT_TRUE(a.Ok()) << a.error;
    EXPECT_EQ(a.options.passwordEnv, "PW");
    EXPECT_TRUE(a.options.ReadsStandardInput() && a.options.WritesStandardOutput());
    const auto b = Parse({"decrypt", "-c", "x.cry"});
    ASSERT_TRUE(b.Ok()) << b.error;
    EXPECT_TRUE(!b.options.ReadsStandardInput() && b.options.WritesStandardOutput());
    const auto c = Parse({"decrypt", "-o", "plain", "-"});
    ASSERT_TRUE(c.Ok()) << c.error;
    EXPECT_TRUE(c.options.ReadsStandardInput() && !c.options.WritesStandardOutput());
}

struct Refusal {
    std::vector<std::string> args;
    const char* why;
};

void PrintTo(const Refusal& refusal, std::ostream* os) {
    for (const std::string& arg : refusal.args)
        *os << arg << ' ';
}

class ArgumentsRefused : public testing::TestWithParam<Refusal> {};

TEST_P(ArgumentsRefused, WithAReasonThatNamesTheProblem) {
    const auto parsed = ParseArguments(GetParam().args);
    EXPECT_FALSE(parsed.Ok());
    EXPECT_NE(parsed.error.find(GetParam().why), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ArgumentsRefused,
    testing::Values(Refusal{{}, "no command"}, Refusal{{"shred", "x"}, "unknown command"},
                    Refusal{{"encrypt"}, "needs at least one FILE"},
                    Refusal{{"encrypt", "-o", "out", "a", "b"}, "single FILE"},
                    Refusal{{"encrypt", "-p"}, "-p needs a value"},
                    Refusal{{"encrypt", "a", "--output"}, "--output needs a value"},
                    Refusal{{"encrypt", "-p", "x", "-p", "y", "a"}, "given twice"},
                    Refusal{{"encrypt", "--keep=yes", "a"}, "takes no value"},
                    Refusal{{"encrypt", "--password", "a"}, "unknown option --password"},
                    Refusal{{"verify", "-k", "a.cry"}, "-k for verify"},
                    Refusal{{"verify", "-o", "x", "a.cry"}, "-o for verify"},
                    Refusal{{"info", "-p", "pw", "a.cry"}, "-p for info"},
                    Refusal{{"info", "-q", "a.cry"}, "-q for info"},
                    Refusal{{"info", "-r", "dir"}, "-r for info"},
                    Refusal{{"encrypt", "-j", "0", "a"}, "from 1 to 256"},
                    Refusal{{"encrypt", "-j257", "a"}, "from 1 to 256"},
                    Refusal{{"encrypt", "--jobs=two", "a"}, "from 1 to 256"},
                    Refusal{{"encrypt", "-j", "99999999999999999999", "a"}, "from 1 to 256"},
                    Refusal{{"encrypt", "-j2", "-j", "3", "a"}, "-j given twice"},
                    Refusal{{"encrypt", "-r", "-o", "out", "dir"}, "single FILE"},
                    Refusal{{"convert", "--passphrase-file", "pp", "-R", "keys", "a.cry"},
                            "can't be mixed"},
                    Refusal{{"convert", "--recipient", "age1x", "--work-factor", "12", "a.cry"},
                            "belongs to a passphrase"},
                    Refusal{{"convert", "--work-factor", "23", "a.cry"}, "from 1 to 22"},
                    Refusal{{"convert", "-p", "-", "--passphrase-file", "-", "a.cry"},
                            "both come from standard input"},
                    Refusal{{"encrypt", "-a", "a"}, "-a for encrypt"},
                    Refusal{{"decrypt", "-c", "a.cry", "b.cry"}, "-c names the destination"},
                    Refusal{{"decrypt", "-c", "-o", "x", "a.cry"}, "both name the destination"},
                    Refusal{{"encrypt", "-p", "-", "-"}, "both read standard input"},
                    Refusal{{"encrypt", "a", "-"}, "must be the only FILE"},
                    Refusal{{"verify", "-p", "pw", "--password-env", "PW", "a"}, "both give"},
                    Refusal{{"verify", "-c", "a.cry"}, "-c for verify"},
                    Refusal{{"info", "--password-env", "PW", "a.cry"}, "for info"}),
    [](const testing::TestParamInfo<Refusal>& tested) {
        std::string name;
        for (const std::string& arg : tested.param.args)
            for (const char c : arg)
                if (std::isalnum(static_cast<unsigned char>(c)))
                    name += c;
        return std::to_string(tested.index) + "_" + name;
    });

} // namespace
} // namespace kelvane::cli
