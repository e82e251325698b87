// SPDX-License-Identifier: GPL-3.0-or-later
// After a run, no copy of the password is left anywhere in the process's
// writable memory: not in the heap, not on a stack, not in a library's
// input buffer. The password is never written out whole by the test itself:
// it is kept masked, unmasked one byte at a time on its way to a file, and
// matched against memory through the mask.
#include "cli/Cli.h"
#include "engine/CryptFile.h"
#include "support/MemoryScan.h"
#include "support/TempDir.h"

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace kelvane::cli {
namespace {

using testing_support::TempDir;

constexpr uint8_t kMask = testing_support::kSecretMask;
constexpr auto kMasked = testing_support::kMaskedSecret.masked;
constexpr auto kSecret = testing_support::kMaskedSecret;

std::vector<uintptr_t> FindPassword() {
    return testing_support::FindSecret(kSecret);
}

// Writes `head`, the password, `tail` and a line end to `path`, never
// holding the password whole.
[[gnu::noinline]] void WritePasswordFile(const std::string& path, const std::string& head = {},
                                         const std::string& tail = {}) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));
    for (const uint8_t masked : kMasked) {
        volatile char c = static_cast<char>(masked ^ kMask);
        const char byte = c;
        ASSERT_EQ(::write(fd, &byte, 1), 1);
        c = 0;
    }
    ASSERT_EQ(::write(fd, (tail + "\n").data(), tail.size() + 1),
              static_cast<ssize_t>(tail.size() + 1));
    ::close(fd);
}

class NoTerminal : public PasswordPrompter {
public:
    bool Ask(const std::string&, SecretString&, std::string& problem) override {
        problem = "no terminal";
        return false;
    }
};

// Runs far below the test's stack frame, where the search's own calls don't
// reach: a copy the run leaves on the stack stays there to be found.
[[gnu::noinline]] int RunQuietly(const std::vector<std::string>& args, int in) {
    volatile char depth[64 * 1024];
    depth[0] = 0;
    NoTerminal prompter;
    std::ostringstream out, err;
    const CliEnvironment env{in, out, err, false, prompter, {}};
    const int status = RunCli(args, env);
    // A use of the frame after the call: no tail call may drop it first.
    asm volatile("" : : "r"(&depth[0]) : "memory");
    return status;
}

TEST(Secrets, TheSearchFindsAPasswordThatIsStillThere) {
    // Guards the test below against a search that can find nothing.
    std::vector<char> kept(kMasked.size());
    for (std::size_t i = 0; i < kMasked.size(); ++i)
        kept[i] = static_cast<char>(kMasked[i] ^ kMask);
    EXPECT_FALSE(FindPassword().empty());
    std::fill(kept.begin(), kept.end(), 0);
    asm volatile("" : : "r"(kept.data()) : "memory");
}

TEST(Secrets, NoCopyOfThePasswordOutlivesARunFromAFileOrStandardInput) {
    TempDir dir;
    WritePasswordFile(dir / "pw");
    dir.Write("a", std::string(300'000, 'x'));
    dir.Write("b", std::string(5000, 'y'));
    ASSERT_TRUE(FindPassword().empty()) << "the test itself left a copy";

    ASSERT_EQ(RunQuietly({"encrypt", "-j", "2", "-p", dir / "pw", dir / "a", dir / "b"}, -1), 0);
    const int in = ::open((dir / "pw").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(RunQuietly({"decrypt", "-p", "-", dir / "a.cry", dir / "b.cry"}, in), 0);
    ::close(in);
    // A refused password (too long for a key) is wiped as well. Inside the
    // line, not at its start: the allocator overwrites the first bytes of a
    // freed block, which would hide a copy left there.
    WritePasswordFile(dir / "long", std::string(40, '-'), "9");
    ASSERT_EQ(RunQuietly({"verify", "-p", dir / "long", dir / "a"}, -1), 2);
    const std::vector<uintptr_t> found = FindPassword();
    EXPECT_TRUE(found.empty()) << found.size() << " copies, the first at 0x" << std::hex
                               << found.front();
}

} // namespace
} // namespace kelvane::cli
