// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli convert against the real `age` command: every file it writes
// opens with `age` to the original bytes, and a file damaged anywhere is
// refused by `age`, which shows our MAC, tags and final chunk are right.
// Passphrases go through a pseudo-terminal, since `age` reads them there.
#include "engine/CryptFile.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::Exists;
using testing_support::PatternBytes;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using testing_support::WriteFile;

constexpr char kCryPassword[] = "secret1";
constexpr char kPassphrase[] = "correct horse battery staple";

struct Ran {
    int status = -1;
    std::string err;
};

[[noreturn]] void Exec(const std::string& directory, const std::vector<std::string>& args) {
    if (::chdir(directory.c_str()) != 0)
        ::_exit(127);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

int StatusOf(pid_t child) {
    int waitStatus = 0;
    ::waitpid(child, &waitStatus, 0);
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

// Runs a command without a terminal; its standard output goes to `out`.
Ran RunCommand(const TempDir& dir, const std::vector<std::string>& args,
               const std::string& out = {}) {
    const std::string errPath = dir / ".err";
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid(); // no controlling terminal: nothing may be asked
        const int null = ::open("/dev/null", O_RDONLY);
        const int o = ::open((out.empty() ? std::string("/dev/null") : out).c_str(),
                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (null < 0 || o < 0 || e < 0 || ::dup2(null, 0) < 0 || ::dup2(o, 1) < 0 ||
            ::dup2(e, 2) < 0)
            ::_exit(127);
        Exec(dir.Path(), args);
    }
    Ran ran;
    ran.status = StatusOf(child);
    ran.err = TempDir::Read(errPath);
    return ran;
}

// Runs a command on a pseudo-terminal and types `answer` and Enter at every
// prompt that ends in `prompt`.
Ran RunOnTerminal(const TempDir& dir, const std::vector<std::string>& args,
                  const std::string& prompt, const std::string& answer) {
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0)
        Exec(dir.Path(), args);
    Ran ran;
    std::size_t answered = 0;
    for (;;) {
        pollfd wait{master, POLLIN, 0};
        if (::poll(&wait, 1, 30000) <= 0)
            break;
        char buffer[512];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0)
            break;
        ran.err.append(buffer, static_cast<std::size_t>(got));
        for (auto at = ran.err.find(prompt, answered); at != std::string::npos;
             at = ran.err.find(prompt, answered)) {
            answered = at + prompt.size();
            const std::string typed = answer + "\r";
            if (::write(master, typed.data(), typed.size()) < 0)
                break;
        }
    }
    ::close(master);
    ran.status = StatusOf(child);
    return ran;
}

class AgeInterop : public ::testing::Test {
protected:
    void SetUp() override {
        if (RunCommand(dir_, {"age", "--version"}).status != 0)
            GTEST_SKIP() << "the age command is not installed";
        ASSERT_EQ(RunCommand(dir_, {"age-keygen", "-o", "key"}).status, 0);
        WriteFile(dir_ / "pw", std::string(kCryPassword) + "\n");
        WriteFile(dir_ / "pp", std::string(kPassphrase) + "\n");
        const Ran recipient =
            RunCommand(dir_, {"age-keygen", "-y", "-o", dir_ / "recipient", "key"});
        ASSERT_EQ(recipient.status, 0);
        recipient_ = TempDir::Read(dir_ / "recipient");
        recipient_.erase(recipient_.find_last_not_of('\n') + 1);
    }

    // NAME.cry holding `size` pattern bytes; returns them.
    std::vector<uint8_t> MakeCrypted(const std::string& name, std::size_t size) {
        const auto plain = PatternBytes(size, static_cast<uint32_t>(size + 7));
        WriteBytes(dir_ / ".plain", plain);
        ProgressCounter fill, drain;
        EXPECT_EQ(EncryptFile(dir_ / ".plain", dir_ / (name + ".cry"), kCryPassword, fill, drain),
                  crOk);
        std::filesystem::remove(dir_ / ".plain");
        return plain;
    }

    Ran Convert(std::vector<std::string> args) {
        args.insert(args.begin(), {KELVANE_CLI_PATH, "convert", "-q", "-p", "pw"});
        return RunCommand(dir_, args);
    }

    // What `age` makes of NAME.age with the key; empty when it refused.
    std::optional<std::vector<uint8_t>> OpenWithKey(const std::string& ageFile) {
        std::filesystem::remove(dir_ / ".opened");
        if (RunCommand(dir_, {"age", "-d", "-i", "key", "-o", ".opened", ageFile}).status != 0)
            return std::nullopt;
        return ReadBytes(dir_ / ".opened");
    }

    std::optional<std::vector<uint8_t>> OpenWithPassphrase(const std::string& ageFile) {
        std::filesystem::remove(dir_ / ".opened");
        const Ran ran = RunOnTerminal(dir_, {"age", "-d", "-o", ".opened", ageFile},
                                      "passphrase:", kPassphrase);
        if (ran.status != 0)
            return std::nullopt;
        return ReadBytes(dir_ / ".opened");
    }

    TempDir dir_;
    std::string recipient_;
};

constexpr std::size_t kSizes[] = {0, 1, 65535, 65536, 65537, 131072, (3 << 20) + 5};

TEST_F(AgeInterop, RecipientFilesOpenWithAgeByteForByte) {
    for (const std::size_t size : kSizes) {
        const std::string name = "f" + std::to_string(size);
        const auto plain = MakeCrypted(name, size);
        const Ran ran = Convert({"--recipient", recipient_, name + ".cry"});
        ASSERT_EQ(ran.status, 0) << ran.err;
        EXPECT_FALSE(Exists(dir_ / (name + ".cry"))) << "a converted .cry is deleted";
        EXPECT_EQ(OpenWithKey(name + ".age"), plain) << size;
    }
}

TEST_F(AgeInterop, PassphraseFilesOpenWithAgeOnItsTerminal) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{65536}, std::size_t{200001}}) {
        const std::string name = "p" + std::to_string(size);
        const auto plain = MakeCrypted(name, size);
        const Ran ran = Convert({"--passphrase-file", "pp", "--work-factor", "10", name + ".cry"});
        ASSERT_EQ(ran.status, 0) << ran.err;
        EXPECT_EQ(OpenWithPassphrase(name + ".age"), plain) << size;
    }
}

// The passphrase asked twice on our own terminal, with the default work
// factor that `age` itself uses.
TEST_F(AgeInterop, PassphraseAskedOnTheTerminal) {
    const auto plain = MakeCrypted("t", 70000);
    const Ran ran =
        RunOnTerminal(dir_, {KELVANE_CLI_PATH, "convert", "-q", "-k", "-p", "pw", "t.cry"},
                      "passphrase:", kPassphrase);
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_TRUE(Exists(dir_ / "t.cry")) << "-k keeps the .cry";
    EXPECT_EQ(OpenWithPassphrase("t.age"), plain);
}

TEST_F(AgeInterop, ArmoredToStandardOutput) {
    const auto plain = MakeCrypted("a", 100000);
    const Ran ran = RunCommand(dir_,
                               {KELVANE_CLI_PATH, "convert", "-q", "-p", "pw", "-a", "-o", "-",
                                "--recipient", recipient_, "-R", "recipient", "a.cry"},
                               dir_ / "a.txt");
    ASSERT_EQ(ran.status, 0) << ran.err;
    EXPECT_TRUE(Exists(dir_ / "a.cry")) << "a .cry sent to a stream stays";
    EXPECT_EQ(TempDir::Read(dir_ / "a.txt").rfind("-----BEGIN AGE ENCRYPTED FILE-----\n", 0), 0u);
    EXPECT_EQ(OpenWithKey("a.txt"), plain);
}

// One bit flipped in the header, in a middle chunk, or the file cut in its
// last chunk or at a chunk's end: `age` refuses every one.
TEST_F(AgeInterop, DamagedFilesAreRefusedByAge) {
    MakeCrypted("d", 150000);
    ASSERT_EQ(Convert({"--recipient", recipient_, "d.cry"}).status, 0);
    const auto good = ReadBytes(dir_ / "d.age");
    ASSERT_TRUE(OpenWithKey("d.age"));
    const std::size_t headerEnd =
        std::string(good.begin(), good.end())
            .find("\n", std::string(good.begin(), good.end()).find("---")) +
        1;
    const std::size_t payload = headerEnd + 16;
    const struct {
        const char* what;
        std::size_t flipAt; // SIZE_MAX: none
        std::size_t keep;   // bytes kept
    } rows[] = {
        {"bit in the stanza", 40, good.size()},
        {"bit in the MAC", headerEnd - 5, good.size()},
        {"bit in the payload nonce", headerEnd + 3, good.size()},
        {"bit in the second chunk", payload + 65536 + 16 + 100, good.size()},
        {"last chunk cut short", SIZE_MAX, good.size() - 1},
        {"last chunk missing", SIZE_MAX, payload + 2 * (65536 + 16)},
    };
    for (const auto& row : rows) {
        auto damaged = good;
        if (row.flipAt != SIZE_MAX)
            damaged[row.flipAt] ^= 0x04;
        damaged.resize(row.keep);
        WriteBytes(dir_ / "bad.age", damaged);
        EXPECT_FALSE(OpenWithKey("bad.age")) << row.what;
    }
}

// A .cry whose data check fails leaves no .age and stays; sent to a stream,
// it never gets its final chunk, so `age` refuses what was sent.
TEST_F(AgeInterop, FailedDataCheckLeavesNoAgeFile) {
    MakeCrypted("c", 80000);
    auto crypted = ReadBytes(dir_ / "c.cry");
    crypted[8] ^= 1; // the stored data check
    WriteBytes(dir_ / "c.cry", crypted);
    EXPECT_NE(Convert({"--recipient", recipient_, "c.cry"}).status, 0);
    EXPECT_FALSE(Exists(dir_ / "c.age"));
    EXPECT_EQ(ReadBytes(dir_ / "c.cry"), crypted);
    for (const std::string& name : dir_.Names())
        EXPECT_EQ(name.find("kelvane-tmp"), std::string::npos) << name;
    EXPECT_NE(RunCommand(dir_,
                         {KELVANE_CLI_PATH, "convert", "-q", "-p", "pw", "-o", "-", "--recipient",
                          recipient_, "c.cry"},
                         dir_ / "c.stream")
                  .status,
              0);
    EXPECT_FALSE(OpenWithKey("c.stream"));
}

} // namespace
} // namespace kelvane
