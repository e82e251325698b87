// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli run in-process, with its streams and its terminal replaced.
#include "cli/Cli.h"
#include "cli/StreamFiles.h"
#include "crypto/Crc32.h"
#include "engine/CryptFile.h"
#include "support/TempDir.h"

#include <algorithm>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace kelvane::cli {
namespace {

using namespace testing_support;

class ScriptedPrompter : public PasswordPrompter {
public:
    bool Ask(const std::string& prompt, SecretString& answer, std::string& problem) override {
        prompts.push_back(prompt);
        if (answers.empty()) {
            problem = "no terminal";
            return false;
        }
        answer.Text() = answers.front();
        answers.pop_front();
        return true;
    }

    std::deque<std::string> answers;
    std::vector<std::string> prompts;
};

struct CliRun {
    int status;
    std::string out, err;
};

constexpr char kPassword[] = "s3cret!";

class CliInProcess : public testing::Test {
protected:
    void TearDown() override { ResetEngineState(); }

    CliRun Run(const std::vector<std::string>& args) {
        WriteFile(dir / ".stdin", standardInput);
        const int in = ::open((dir / ".stdin").c_str(), O_RDONLY | O_CLOEXEC);
        std::ostringstream out, err;
        const CliEnvironment env{in, out, err, errIsTerminal, prompter, letEventsRun};
        const int status = RunCli(args, env);
        ::close(in);
        std::filesystem::remove(dir / ".stdin");
        return {status, out.str(), err.str()};
    }

    // A password file in the scratch directory.
    std::string PasswordFile(const std::string& password = kPassword) {
        WriteFile(dir / "pw", password + "\n");
        return dir / "pw";
    }

    TempDir dir;
    ScriptedPrompter prompter;
    std::string standardInput;
    bool errIsTerminal = false;
    std::function<void()> letEventsRun;
};

TEST_F(CliInProcess, RoundTripRestoresEveryFileAndDeletesEachSource) {
    const std::vector<std::size_t> sizes = {0, 7, 8, 9, 10240 * 3 + 5};
    std::vector<std::string> files;
    for (std::size_t size : sizes) {
        files.push_back(dir / ("f" + std::to_string(size)));
        WriteFile(files.back(), RandomBytes(size, static_cast<unsigned>(size)));
    }
    std::vector<std::string> args = {"encrypt", "-p", PasswordFile()};
    args.insert(args.end(), files.begin(), files.end());
    const CliRun encrypted = Run(args);
    ASSERT_EQ(encrypted.status, kExitDone) << encrypted.err;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_FALSE(Exists(files[i]));
        EXPECT_EQ(std::filesystem::file_size(files[i] + ".cry"), sizes[i] + 22 - sizes[i] % 8);
    }
    args = {"decrypt", "-p", dir / "pw"};
    for (const std::string& file : files)
        args.push_back(file + ".cry");
    const CliRun decrypted = Run(args);
    ASSERT_EQ(decrypted.status, kExitDone) << decrypted.err;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        EXPECT_EQ(ReadFile(files[i]), RandomBytes(sizes[i], static_cast<unsigned>(sizes[i])));
    // Nothing but the plain files and the password file: no temporaries left.
    EXPECT_EQ(dir.Names().size(), files.size() + 1);
    EXPECT_TRUE(decrypted.out.empty() && decrypted.err.empty());
}

// A source is gone from the disk, not only from its folder, before the run
// says so: a power cut must not bring the plain file back after success.
TEST_F(CliInProcess, ARunEndsOnceTheRemovalsOfItsSourcesAreOnDiskAndSaysWhenTheyAreNot) {
    static int flushes;
    static bool failing;
    flushes = 0;
    failing = false;
    FlushFileSystemForTesting([](int) {
        ++flushes;
        errno = failing ? EIO : 0;
        return !failing;
    });
    WriteFile(dir / "a", "plain");
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "a"}).status, kExitDone);
    EXPECT_EQ(flushes, 1);
    ASSERT_EQ(Run({"decrypt", "-k", "-p", dir / "pw", dir / "a.cry"}).status, kExitDone);
    EXPECT_EQ(flushes, 1) << "nothing removed, nothing to flush";
    std::filesystem::remove(dir / "a");
    failing = true;
    const CliRun unconfirmed = Run({"decrypt", "-p", dir / "pw", dir / "a.cry"});
    EXPECT_EQ(unconfirmed.status, kExitFailed);
    EXPECT_NE(unconfirmed.err.find("the disk did not confirm that the sources are gone"),
              std::string::npos)
        << unconfirmed.err;
    EXPECT_EQ(ReadFile(dir / "a"), "plain");
}

TEST_F(CliInProcess, KeepLeavesTheSourceAndOutputNamesTheDestination) {
    WriteFile(dir / "plain", "keep me around");
    ASSERT_EQ(
        Run({"encrypt", "-k", "-p", PasswordFile(), "-o", dir / "other.bin", dir / "plain"}).status,
        kExitDone);
    EXPECT_EQ(ReadFile(dir / "plain"), "keep me around");
    EXPECT_FALSE(Exists(dir / "plain.cry"));
    ASSERT_EQ(
        Run({"decrypt", "-k", "-p", dir / "pw", "-o", dir / "back", dir / "other.bin"}).status,
        kExitDone);
    EXPECT_EQ(ReadFile(dir / "back"), "keep me around");
    EXPECT_TRUE(Exists(dir / "other.bin"));
}

TEST_F(CliInProcess, TerminalPasswordIsAskedTwiceForEncryptionAndOnceForDecryption) {
    WriteFile(dir / "a", "content");
    prompter.answers = {kPassword, kPassword};
    ASSERT_EQ(Run({"encrypt", dir / "a"}).status, kExitDone);
    EXPECT_EQ(prompter.prompts, (std::vector<std::string>{"Password: ", "Repeat password: "}));
    prompter.prompts.clear();
    prompter.answers = {kPassword};
    ASSERT_EQ(Run({"decrypt", dir / "a.cry"}).status, kExitDone);
    EXPECT_EQ(prompter.prompts, std::vector<std::string>{"Password: "});
}

TEST_F(CliInProcess, UnusablePasswordsEndWithStatusTwoBeforeAnyFileIsTouched) {
    WriteFile(dir / "a", "content");
    prompter.answers = {kPassword, "s3cret?"};
    const CliRun mismatch = Run({"encrypt", dir / "a"});
    EXPECT_EQ(mismatch.status, kExitUsage);
    EXPECT_NE(mismatch.err.find("differ"), std::string::npos);

    const std::pair<std::string, const char*> refused[] = {
        {"short", "6 to 8"}, {"muchtoolong", "6 to 8"}, {"\xD0\x96\xD0\x96\xD0\x96xyz", "1252"}};
    for (const auto& [password, why] : refused) {
        const CliRun run = Run({"encrypt", "-p", PasswordFile(password), dir / "a"});
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
    }
    const CliRun missing = Run({"encrypt", "-p", dir / "nowhere", dir / "a"});
    EXPECT_EQ(missing.status, kExitUsage);
    EXPECT_NE(missing.err.find("can't read the password file"), std::string::npos);
    EXPECT_EQ(Run({"encrypt", dir / "a"}).status, kExitUsage); // no terminal
    EXPECT_EQ(ReadFile(dir / "a"), "content");
    EXPECT_FALSE(Exists(dir / "a.cry"));
}

TEST_F(CliInProcess, PasswordFromStandardInputIsItsFirstLine) {
    WriteFile(dir / "a", "content");
    standardInput = std::string(kPassword) + "\r\nignored\n";
    ASSERT_EQ(Run({"encrypt", "-p", "-", dir / "a"}).status, kExitDone);
    standardInput = kPassword;
    EXPECT_EQ(Run({"verify", "-q", "-p", "-", dir / "a.cry"}).status, kExitDone);
}

TEST_F(CliInProcess, PasswordFromTheEnvironmentIsWipedFromIt) {
    WriteFile(dir / "a", "content");
    ::setenv("KELVANE_TEST_PASSWORD", kPassword, 1);
    char* held = std::getenv("KELVANE_TEST_PASSWORD");
    ASSERT_EQ(Run({"encrypt", "--password-env", "KELVANE_TEST_PASSWORD", dir / "a"}).status,
              kExitDone);
    EXPECT_EQ(std::getenv("KELVANE_TEST_PASSWORD"), nullptr);
    // glibc keeps the memory of a variable set with setenv, so the wipe shows.
    EXPECT_NE(std::string(held, 7), kPassword) << "the old value is still in memory";
    const CliRun unset = Run({"decrypt", "--password-env", "KELVANE_TEST_PASSWORD", dir / "a.cry"});
    EXPECT_EQ(unset.status, kExitUsage);
    EXPECT_EQ(unset.err,
              "kelvane-cli: the environment variable KELVANE_TEST_PASSWORD is not set\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.cry"});
}

TEST_F(CliInProcess, NonAsciiPasswordIsKeyedByItsWindows1252Bytes) {
    WriteFile(dir / "a", "content");
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile("\xE2\x82\xAC-p\xC3\xA4ss"), dir / "a"}).status,
              kExitDone);
    // The desktop program keys the same file with the bytes 80h "-p" E4h "ss".
    uint8_t key[8];
    MakeKey("\x80-p\xE4ss", key);
    CryptHeader header;
    ASSERT_TRUE(ReadCryptHeader(dir / "a.cry", header, SystemFilesForReading()));
    EXPECT_EQ(header.keyCheck, KeyCheckOf(key));
}

TEST_F(CliInProcess, AnExistingDestinationIsReplacedOnlyWithForce) {
    WriteFile(dir / "a", "new content");
    WriteFile(dir / "a.cry", "the user's old file");
    const CliRun refused = Run({"encrypt", "-p", PasswordFile(), dir / "a"});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_EQ(refused.err,
              "kelvane-cli: \"" + dir / "a.cry" + "\" already exists; -f replaces it\n");
    EXPECT_EQ(ReadFile(dir / "a.cry"), "the user's old file");
    EXPECT_EQ(ReadFile(dir / "a"), "new content");

    ASSERT_EQ(Run({"encrypt", "-f", "-p", dir / "pw", dir / "a"}).status, kExitDone);
    ASSERT_EQ(Run({"decrypt", "-p", dir / "pw", dir / "a.cry"}).status, kExitDone);
    EXPECT_EQ(ReadFile(dir / "a"), "new content");
}

TEST_F(CliInProcess, EngineFailuresCarryTheProgramsMessageWithTheFileAsGiven) {
    WriteFile(dir / "a", "content");
    WriteFile(dir / "plain.cry", "not a crypted file at all");
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "a"}).status, kExitDone);
    const CliRun wrong = Run({"decrypt", "-p", PasswordFile("s3cret?"), dir / "a.cry"});
    EXPECT_EQ(wrong.status, kExitWrongPassword);
    EXPECT_EQ(wrong.err, "kelvane-cli: wrong password for \"" + dir / "a.cry" + "\"\n");

    const CliRun mixed = Run(
        {"decrypt", "-p", PasswordFile(), dir / "missing.cry", dir / "plain.cry", dir / "a.cry"});
    EXPECT_EQ(mixed.status, kExitFailed);
    EXPECT_EQ(mixed.err, "kelvane-cli: can't open \"" + dir / "missing.cry" +
                             "\": No such file or directory\nkelvane-cli: \"" + dir / "plain.cry" +
                             "\" is not a crypted file\n");
    // The good file after the failures is still done.
    EXPECT_EQ(ReadFile(dir / "a"), "content");
    EXPECT_EQ(ReadFile(dir / "plain.cry"), "not a crypted file at all");
    EXPECT_FALSE(Exists(dir / "plain"));
}

TEST_F(CliInProcess, DecryptingANameWithoutCryNeedsOutputAndAsksNothingOtherwise) {
    WriteFile(dir / "a", "content");
    const CliRun run = Run({"decrypt", dir / "a"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("does not end in .cry"), std::string::npos);
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(CliInProcess, TheNewFileTakesTheSourcesPermissions) {
    WriteFile(dir / "a", "content");
    ::chmod((dir / "a").c_str(), 0640);
    const mode_t umaskBefore = ::umask(022);
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "a"}).status, kExitDone);
    EXPECT_EQ(PermissionsOf(dir / "a.cry"), 0640u);
    ::chmod((dir / "a.cry").c_str(), 0604);
    ASSERT_EQ(Run({"decrypt", "-p", dir / "pw", dir / "a.cry"}).status, kExitDone);
    EXPECT_EQ(PermissionsOf(dir / "a"), 0604u);
    EXPECT_EQ(::umask(umaskBefore), 022u) << "the run must give the process its umask back";
}

TEST_F(CliInProcess, AWriteProtectedSourceIsProcessedAndKeepsItsBitsWhenItStays) {
    WriteFile(dir / "a", "content");
    ::chmod((dir / "a").c_str(), 0444);
    ASSERT_EQ(Run({"encrypt", "-k", "-p", PasswordFile(), dir / "a"}).status, kExitDone);
    EXPECT_EQ(PermissionsOf(dir / "a"), 0444u);
    EXPECT_EQ(PermissionsOf(dir / "a.cry"), 0444u);

    // A failure gives the source its own bits back too.
    const CliRun failed = Run({"encrypt", "-p", dir / "pw", "-o", dir / "no/such/dir", dir / "a"});
    EXPECT_EQ(failed.status, kExitFailed);
    EXPECT_EQ(failed.err, "kelvane-cli: can't create \"" + dir / "no/such/dir" +
                              "\": No such file or directory\n");
    EXPECT_EQ(PermissionsOf(dir / "a"), 0444u);

    ASSERT_EQ(Run({"decrypt", "-f", "-p", dir / "pw", dir / "a.cry"}).status, kExitDone);
    EXPECT_EQ(ReadFile(dir / "a"), "content");
    EXPECT_EQ(PermissionsOf(dir / "a"), 0444u);
}

TEST_F(CliInProcess, ASymbolicLinkOrTheFileItselfIsRefusedAsASource) {
    WriteFile(dir / "target", "content");
    std::filesystem::create_symlink(dir / "target", dir / "link");
    const CliRun link = Run({"encrypt", "-p", PasswordFile(), dir / "link"});
    EXPECT_EQ(link.status, kExitFailed);
    EXPECT_NE(link.err.find("symbolic link"), std::string::npos);
    const CliRun itself =
        Run({"encrypt", "-f", "-p", dir / "pw", "-o", dir / "target", dir / "target"});
    EXPECT_EQ(itself.status, kExitFailed);
    EXPECT_NE(itself.err.find("over itself"), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "target"), "content");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"link", "pw", "target"}));
}

// A FIFO or a device named by -o, or a link to one as /dev/stdout is, is a
// stream like "-": written to, never replaced, and the source stays.
TEST_F(CliInProcess, ADestinationThatLeadsToAStreamIsWrittenAsOne) {
    WriteFile(dir / "a", "content");
    ASSERT_EQ(Run({"encrypt", "-k", "-p", PasswordFile(), dir / "a"}).status, kExitDone);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir / "fifo", dir / "to-fifo");
    std::filesystem::create_symlink("/dev/null", dir / "to-null");
    const struct {
        std::vector<std::string> args;
        std::string read; // what comes out of the FIFO; "KZ31": a crypted file
    } rows[] = {
        {{"decrypt", "-o", "/dev/null", dir / "a.cry"}, ""},
        {{"decrypt", "-f", "-o", dir / "to-null", dir / "a.cry"}, ""},
        {{"decrypt", "-f", "-o", dir / "to-fifo", dir / "a.cry"}, "content"},
        {{"encrypt", "-o", dir / "to-fifo", dir / "a"}, "KZ31"},
    };
    for (const auto& row : rows) {
        // Open first, so the program's open finds a reader; the little
        // that is written fits in the pipe.
        const int fifo = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(fifo, 0);
        std::vector<std::string> args = row.args;
        args.insert(args.begin() + 1, {"-p", dir / "pw"});
        const CliRun run = Run(args);
        char buffer[256];
        const ssize_t got = ::read(fifo, buffer, sizeof buffer);
        ::close(fifo);
        EXPECT_EQ(run.status, kExitDone) << run.err;
        EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)))
                      .substr(0, row.read.size()),
                  row.read)
            << args.back();
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "to-fifo"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "to-null"));
    }
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"a", "a.cry", "fifo", "pw", "to-fifo", "to-null"}));
}

TEST_F(CliInProcess, ADestinationThatIsASymbolicLinkIsNeverReplaced) {
    WriteFile(dir / "a.cry", "crypted");
    WriteFile(dir / "target", "the user's file");
    std::filesystem::create_symlink(dir / "target", dir / "link");
    for (const char* force : {"-k", "-f"}) {
        const CliRun run =
            Run({"decrypt", force, "-p", PasswordFile(), "-o", dir / "link", dir / "a.cry"});
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_EQ(run.err, "kelvane-cli: \"" + dir / "link" +
                               "\" is a symbolic link, never replaced by a new file; name the "
                               "file it leads to (or \"-\" for standard output)\n");
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "link"));
        EXPECT_EQ(ReadFile(dir / "target"), "the user's file");
    }
}

TEST_F(CliInProcess, CancellingStopsTheRunWithNoDestinationAndTheSourceIntact) {
    const std::string big = RandomBytes(800 * 8, 7); // 801 blocks: reports every 8
    WriteFile(dir / "a", big);
    WriteFile(dir / "b", "next in line");
    ::chmod((dir / "a").c_str(), 0400);
    letEventsRun = [] { CancelRequested = true; };
    const CliRun run = Run({"encrypt", "-j", "1", "-p", PasswordFile(), dir / "a", dir / "b"});
    EXPECT_EQ(run.status, kExitSignalBase + SIGINT);
    EXPECT_EQ(run.err, "kelvane-cli: \"" + dir / "a" +
                           "\": cancelled; nothing was written\nkelvane-cli: cancelled; 1 file "
                           "not started\n");
    EXPECT_EQ(ReadFile(dir / "a"), big);
    EXPECT_EQ(PermissionsOf(dir / "a"), 0400u);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "b", "pw"})) << "b was not started";
}

TEST_F(CliInProcess, TheProgressBarIsDrawnOnATerminalUnlessQuiet) {
    WriteFile(dir / "a", RandomBytes(800 * 8, 3));
    errIsTerminal = true;
    const CliRun shown = Run({"encrypt", "-k", "-p", PasswordFile(), dir / "a"});
    ASSERT_EQ(shown.status, kExitDone);
    EXPECT_NE(shown.err.find("\r[" + std::string(24, '#') + "] 100%  6.2 KiB of 6.2 KiB"),
              std::string::npos)
        << shown.err;
    // Taken off the screen at the end, so the shell's prompt starts clean.
    EXPECT_TRUE(shown.err.ends_with("\r\033[K")) << shown.err;
    const CliRun quiet = Run({"decrypt", "-q", "-f", "-p", dir / "pw", dir / "a.cry"});
    ASSERT_EQ(quiet.status, kExitDone);
    EXPECT_TRUE(quiet.err.empty());
}

TEST_F(CliInProcess, VerifyChecksEverythingAndWritesNothing) {
    WriteFile(dir / "a", RandomBytes(5000, 1));
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "a"}).status, kExitDone);
    const auto before = dir.Names();
    const CliRun good = Run({"verify", "-p", dir / "pw", dir / "a.cry"});
    EXPECT_EQ(good.status, kExitDone);
    EXPECT_EQ(good.out, dir / "a.cry" + ": OK\n");
    EXPECT_TRUE(Run({"verify", "-q", "-p", dir / "pw", dir / "a.cry"}).out.empty());

    // One flipped ciphertext bit passes the key check but not the data check.
    std::string damaged = ReadFile(dir / "a.cry");
    damaged[100] ^= 1;
    WriteFile(dir / "damaged.cry", damaged);
    const CliRun bad = Run({"verify", "-p", dir / "pw", dir / "damaged.cry"});
    EXPECT_EQ(bad.status, kExitFailed);
    EXPECT_EQ(bad.err, "kelvane-cli: \"" + dir / "damaged.cry" +
                           "\" failed its data check: the file is damaged, or the password is "
                           "wrong in a way the key check missed; nothing was written\n");
    EXPECT_EQ(dir.Names().size(), before.size() + 1);
}

// The checksum of zero bytes is 0, so a length field that lost a bit still
// verifies over all-zero data; the length not fitting the data gives it
// away, with an exit code of its own.
TEST_F(CliInProcess, StoredLengthThatDoesNotFitTheDataIsAWarning) {
    WriteFile(dir / "zeros", std::string(64, '\0'));
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "zeros"}).status, kExitDone);
    std::string damaged = ReadFile(dir / "zeros.cry");
    damaged[4] ^= 0x40; // the stored length 64 becomes 0
    WriteFile(dir / "zeros.cry", damaged);
    const std::string warning = "kelvane-cli: warning: \"" + dir / "zeros.cry" +
                                "\" stores a length of 0 bytes, more than a block short of the 72 "
                                "bytes of data that follow; its length field may be damaged\n";
    const CliRun verified = Run({"verify", "-p", dir / "pw", dir / "zeros.cry"});
    EXPECT_EQ(verified.status, kExitLengthWarning);
    EXPECT_EQ(verified.err, warning);
    const CliRun shown = Run({"info", dir / "zeros.cry"});
    EXPECT_EQ(shown.status, kExitLengthWarning);
    EXPECT_EQ(shown.err, warning);
    EXPECT_EQ(Run({"decrypt", "-p", dir / "pw", dir / "zeros.cry"}).status, kExitDone)
        << "the format allows it, so it still decrypts";
}

TEST_F(CliInProcess, InfoShowsTheHeaderAndWhetherTheLayoutIsWellFormed) {
    const std::string content = "twelve bytes";
    WriteFile(dir / "a", content);
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "a"}).status, kExitDone);
    uint8_t key[8];
    MakeKey(kPassword, key);
    char checks[64];
    std::snprintf(checks, sizeof checks, "Data check:    0x%08X\nKey check:     0x%04X\n",
                  Crc32Of(content.data(), 12), KeyCheckOf(key));
    const CliRun good = Run({"info", dir / "a.cry"});
    EXPECT_EQ(good.status, kExitDone);
    EXPECT_EQ(good.out, "File:          " + dir / "a.cry" +
                            "\nMagic:         KZ31\nPlain length:  12\n" + checks +
                            "Cipher length: 16\nWell-formed:   yes\n");

    std::string cut = ReadFile(dir / "a.cry");
    WriteFile(dir / "cut.cry", cut.substr(0, cut.size() - 3));
    WriteFile(dir / "short.cry", "KZ31abc");
    const CliRun bad = Run({"info", dir / "cut.cry", dir / "short.cry"});
    EXPECT_EQ(bad.status, kExitFailed);
    EXPECT_NE(bad.out.find("Cipher length: 13\nWell-formed:   no\n\nFile:"), std::string::npos);
    EXPECT_NE(bad.out.find("Header:        incomplete"), std::string::npos);
    EXPECT_EQ(Run({"info", dir / "missing"}).err,
              "kelvane-cli: can't open \"" + dir / "missing" + "\": No such file or directory\n");
}

// The lines of `text`, sorted: files running side by side end in any order.
std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST_F(CliInProcess, RecursionTakesPlainFilesToEncryptAndCryFilesOfAnyCaseToDecrypt) {
    TempDir outside;
    WriteFile(outside / "elsewhere", "not in the tree");
    const std::string tree = dir / "tree";
    dir.Write("tree/a", "aaa");
    dir.Write("tree/sub/c", "ccc");
    dir.Write("tree/B.CRY", "not really crypted");
    std::filesystem::create_symlink(outside / "elsewhere", tree + "/link");
    ASSERT_EQ(::mkfifo((tree + "/fifo").c_str(), 0600), 0);

    const CliRun encrypted = Run({"encrypt", "-r", "-p", PasswordFile(), tree});
    EXPECT_EQ(encrypted.status, kExitDone) << encrypted.err;
    EXPECT_EQ(SortedLines(encrypted.err),
              (std::vector<std::string>{
                  "kelvane-cli: skipped \"" + tree + "/fifo\": not a regular file",
                  "kelvane-cli: skipped \"" + tree + "/link\": a symbolic link, not followed"}));
    EXPECT_TRUE(Exists(tree + "/a.cry"));
    EXPECT_TRUE(Exists(tree + "/sub/c.cry"));
    EXPECT_EQ(ReadFile(tree + "/B.CRY"), "not really crypted");
    EXPECT_EQ(ReadFile(outside / "elsewhere"), "not in the tree");

    const CliRun decrypted = Run({"decrypt", "-r", "-q", "-p", dir / "pw", tree + "/"});
    EXPECT_EQ(decrypted.status, kExitFailed);
    EXPECT_NE(decrypted.err.find("kelvane-cli: \"" + tree + "/B.CRY\" is not a crypted file"),
              std::string::npos)
        << decrypted.err;
    EXPECT_EQ(ReadFile(tree + "/a"), "aaa");
    EXPECT_EQ(ReadFile(tree + "/sub/c"), "ccc");
}

TEST_F(CliInProcess, ARecursiveRunNeverTakesAFileItCreatedItselfNorOneFileTwice) {
    WriteFile(dir / "x", "twice crypted");
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "x"}).status, kExitDone);
    ASSERT_EQ(Run({"encrypt", "-p", dir / "pw", dir / "x.cry"}).status, kExitDone);
    // The folder alone is walked while its files are already worked on.
    for (const std::vector<std::string>& named :
         {std::vector<std::string>{dir.Path(), dir / "x.cry.cry"}, {dir.Path()}}) {
        for (const char* jobs : {"1", "2"}) {
            // x.cry.cry becomes x.cry, which must wait for the next run.
            std::vector<std::string> args{"decrypt", "-r", "-j", jobs, "-p", dir / "pw"};
            args.insert(args.end(), named.begin(), named.end());
            const CliRun once = Run(args);
            ASSERT_EQ(once.status, kExitDone) << once.err;
            EXPECT_TRUE(Exists(dir / "x.cry"));
            EXPECT_FALSE(Exists(dir / "x"));
            ASSERT_EQ(Run({"encrypt", "-p", dir / "pw", dir / "x.cry"}).status, kExitDone);
        }
    }
}

// A slow first file and a quick second one: the second ends first, yet its
// message comes after the first file's, as the files were given.
TEST_F(CliInProcess, MessagesOfFilesSideBySideComeInTheOrderGiven) {
    WriteFile(dir / "big", RandomBytes(16 << 20, 11));
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), dir / "big"}).status, kExitDone);
    std::string crypted = ReadFile(dir / "big.cry");
    crypted[crypted.size() - 100] ^= 1; // the data check fails only at the end
    WriteFile(dir / "big.cry", crypted);

    const CliRun run =
        Run({"decrypt", "-j", "2", "-p", PasswordFile(), dir / "big.cry", dir / "missing.cry"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "kelvane-cli: \"" + dir / "big.cry" +
                           "\" failed its data check: the file is damaged, or the password is "
                           "wrong in a way the key check missed; nothing was written\n"
                           "kelvane-cli: can't open \"" +
                           dir / "missing.cry" + "\": No such file or directory\n");
}

TEST_F(CliInProcess, FilesRunSideBySideEachReportOnWholeLines) {
    std::vector<std::string> files, expectedErr, expectedOut;
    for (unsigned i = 0; i < 6; ++i) {
        files.push_back(dir / ("f" + std::to_string(i)));
        WriteFile(files.back(), RandomBytes(20'000 + 999 * i, i));
        expectedErr.push_back("kelvane-cli: wrong password for \"" + files.back() + ".cry\"");
        expectedOut.push_back(files.back() + ".cry: OK");
    }
    std::vector<std::string> args = {"encrypt", "-j", "3", "-p", PasswordFile()};
    args.insert(args.end(), files.begin(), files.end());
    ASSERT_EQ(Run(args).status, kExitDone);
    std::vector<std::string> crypted;
    for (const std::string& file : files)
        crypted.push_back(file + ".cry");

    args = {"verify", "-j", "3", "-p", dir / "pw"};
    args.insert(args.end(), crypted.begin(), crypted.end());
    const CliRun verified = Run(args);
    EXPECT_EQ(verified.status, kExitDone);
    EXPECT_EQ(SortedLines(verified.out), expectedOut);

    args = {"decrypt", "-j", "3", "-p", PasswordFile("s3cret?")};
    args.insert(args.end(), crypted.begin(), crypted.end());
    const CliRun wrong = Run(args);
    EXPECT_EQ(wrong.status, kExitWrongPassword);
    std::sort(expectedErr.begin(), expectedErr.end());
    EXPECT_EQ(SortedLines(wrong.err), expectedErr);
}

TEST_F(CliInProcess, CancellingFilesRunningSideBySideLosesNothing) {
    const std::string big = RandomBytes(800 * 8, 9);
    const std::vector<std::string> names = {"a", "b", "c", "d"};
    for (const std::string& name : names)
        WriteFile(dir / name, big);
    letEventsRun = [] { CancelRequested = true; };
    const CliRun run = Run(
        {"encrypt", "-j", "2", "-p", PasswordFile(), dir / "a", dir / "b", dir / "c", dir / "d"});
    EXPECT_EQ(run.status, kExitSignalBase + SIGINT);
    for (const std::string& line : SortedLines(run.err)) {
        EXPECT_TRUE(line.ends_with("\": cancelled; nothing was written") ||
                    line.starts_with("kelvane-cli: cancelled; "))
            << line;
    }
    for (const std::string& name : names)
        EXPECT_EQ(ReadFile(dir / name), big) << name;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "b", "c", "d", "pw"}));
}

TEST_F(CliInProcess, ANameTooLongForTheFileSystemIsRefusedBeforeAnyWork) {
    const std::string longest = dir / std::string(251, 'n');
    WriteFile(longest, "fits");
    ASSERT_EQ(Run({"encrypt", "-p", PasswordFile(), longest}).status, kExitDone);
    for (std::size_t length : {252u, 255u}) {
        const std::string name = dir / std::string(length, 'm');
        WriteFile(name, "too long once crypted");
        const CliRun run = Run({"encrypt", "-p", dir / "pw", name});
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_EQ(run.err, "kelvane-cli: can't create \"" + name + ".cry\": File name too long\n");
        EXPECT_EQ(ReadFile(name), "too long once crypted");
        std::filesystem::remove(name);
    }
    const CliRun named = Run(
        {"decrypt", "-k", "-p", dir / "pw", "-o", dir / std::string(256, 'o'), longest + ".cry"});
    EXPECT_EQ(named.status, kExitFailed);
    EXPECT_NE(named.err.find("File name too long"), std::string::npos);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{std::string(251, 'n') + ".cry", "pw"}));
}

TEST_F(CliInProcess, SpecialFilesAndFoldersAreRefusedWithoutBeingOpened) {
    // Opening the FIFO would wait for a writer forever: returning at all
    // is half of this test.
    ASSERT_EQ(::mkfifo((dir / "fifo.cry").c_str(), 0600), 0);
    dir.Write("folder.cry/inside", "x");
    for (const char* command : {"encrypt", "decrypt", "verify"}) {
        const CliRun run =
            Run({command, "-p", PasswordFile(), dir / "fifo.cry", dir / "folder.cry"});
        EXPECT_EQ(run.status, kExitFailed) << command;
        EXPECT_EQ(run.err, "kelvane-cli: \"" + dir / "fifo.cry" +
                               "\" is not a regular file\nkelvane-cli: \"" + dir / "folder.cry" +
                               "\" is a folder; -r walks folders\n")
            << command;
    }
    const CliRun info = Run({"info", dir / "fifo.cry"});
    EXPECT_EQ(info.status, kExitFailed);
    EXPECT_EQ(info.err, "kelvane-cli: \"" + dir / "fifo.cry" + "\" is not a regular file\n");
}

TEST_F(CliInProcess, InfoSaysPlainlyThatAFileIsNotCrypted) {
    WriteFile(dir / "plain.txt", "an ordinary text of some length");
    const CliRun run = Run({"info", dir / "plain.txt"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, "File:          " + dir / "plain.txt" +
                           "\nMagic:         missing (not KZ31): not a crypted file\n");
    EXPECT_EQ(run.err, "kelvane-cli: \"" + dir / "plain.txt" + "\" is not a crypted file\n");
}

TEST_F(CliInProcess, AnEndlessOrBrokenPasswordFileIsRefusedWithItsReason) {
    WriteFile(dir / "a", "content");
    const CliRun endless = Run({"encrypt", "-p", "/dev/zero", dir / "a"});
    EXPECT_EQ(endless.status, kExitUsage);
    EXPECT_EQ(endless.err, "kelvane-cli: the first line of \"/dev/zero\" is longer than 1024 "
                           "bytes; it can't be a password\n");
    standardInput = std::string(5000, 'p');
    EXPECT_NE(Run({"encrypt", "-p", "-", dir / "a"}).err.find("standard input is longer"),
              std::string::npos);
    const CliRun latin1 = Run({"encrypt", "-p", PasswordFile("s\xE9same!"), dir / "a"});
    EXPECT_EQ(latin1.status, kExitUsage);
    EXPECT_NE(latin1.err.find("not valid UTF-8"), std::string::npos) << latin1.err;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a", "pw"}));
}

// Each is refused before any password is asked or file touched; an endless
// or blocking one must return at all.
TEST_F(CliInProcess, RecipientsThatCantBeUsedAreRefusedWithTheirReason) {
    const std::string zeroKey = "age1qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq5cu47z";
    const std::string good = "age1zvkyg2lqzraa2lnjvqej32nkuu0ues2s82hzrye869xeexvn73equnujwj";
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    dir.MakeFolder("folder");
    WriteFile(dir / "long", good + "\n" + std::string(5000, 'x'));
    WriteFile(dir / "big", std::string((1 << 20) + 1, '#'));
    WriteFile(dir / "zero", "# keys\n" + good + "\n" + zeroKey + "\n");
    WriteFile(dir / "a.cry", "untouched");
    const struct {
        std::vector<std::string> recipients;
        std::string message;
    } rows[] = {
        {{"--recipient", zeroKey}, "the recipient \"" + zeroKey + "\" is not a valid key"},
        {{"-R", dir / "zero"}, "\"" + dir / "zero" + "\" line 3: the recipient is not a valid key"},
        {{"-R", "/dev/zero"}, "\"/dev/zero\" is not a regular file"},
        {{"-R", dir / "fifo"}, "\"" + dir / "fifo" + "\" is not a regular file"},
        {{"-R", dir / "folder"}, "\"" + dir / "folder" + "\" is a folder"},
        {{"-R", dir / "long"}, "\"" + dir / "long" + "\" line 2 is longer than 4096 bytes"},
        {{"-R", dir / "big"}, "\"" + dir / "big" + "\" is larger than 1 MiB"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"convert", "-p", PasswordFile()};
        args.insert(args.end(), row.recipients.begin(), row.recipients.end());
        args.push_back(dir / "a.cry");
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, kExitUsage) << row.message;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
    }
    EXPECT_TRUE(prompter.prompts.empty());
    EXPECT_EQ(ReadFile(dir / "a.cry"), "untouched");
}

TEST(SpooledInput, TakesInputUpToItsLimitAndRefusesOneByteMore) {
    TempDir dir;
    for (const auto& [size, expected] :
         {std::pair{10, SpooledInput::Result::Ok}, std::pair{11, SpooledInput::Result::TooBig}}) {
        WriteFile(dir / "in", RandomBytes(static_cast<std::size_t>(size), 5));
        const int in = ::open((dir / "in").c_str(), O_RDONLY | O_CLOEXEC);
        SpooledInput spool;
        EXPECT_EQ(spool.Take(in, 10), expected) << size;
        ::close(in);
    }
}

} // namespace
} // namespace kelvane::cli
