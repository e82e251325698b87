// After a run, no copy of the password is left anywhere in the process's
// writable memory: not in the heap, not on a stack, not in a library's
// input buffer. The password is never written out whole by the test itself:
// it is kept masked, unmasked one byte at a time on its way to a file, and
// matched against memory through the mask.
#include "cli/Cli.h"
#include "crypto/CryptFile.h"
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

constexpr uint8_t kMask = 0x5A;
// "Qz7#Wk4!" with every byte xored with kMask.
constexpr std::array<uint8_t, 8> kMasked = {'Q' ^ kMask, 'z' ^ kMask, '7' ^ kMask, '#' ^ kMask,
                                            'W' ^ kMask, 'k' ^ kMask, '4' ^ kMask, '!' ^ kMask};

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

bool MatchesAt(const std::vector<uint8_t>& bytes, std::size_t at) {
    for (std::size_t i = 0; i < kMasked.size(); ++i) {
        if ((bytes[at + i] ^ kMask) != kMasked[i])
            return false;
    }
    return true;
}

// Every writable private mapping: the heap, the main stack, the threads'
// stacks and the allocator's other arenas.
std::vector<std::pair<uintptr_t, uintptr_t>> WritableRanges() {
    std::vector<std::pair<uintptr_t, uintptr_t>> ranges;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string span, perms, offset, device, inode, path;
        fields >> span >> perms >> offset >> device >> inode >> path;
        const bool anonymous = path.empty() || path == "[heap]" || path == "[stack]";
        if (!perms.starts_with("rw") || !anonymous)
            continue;
        const auto dash = span.find('-');
        ranges.emplace_back(std::stoull(span.substr(0, dash), nullptr, 16),
                            std::stoull(span.substr(dash + 1), nullptr, 16));
    }
    return ranges;
}

// Where the password is found, as addresses; empty when nowhere.
std::vector<uintptr_t> FindPassword() {
    constexpr std::size_t kChunk = 1 << 20;
    constexpr uintptr_t kLargest = uintptr_t{1} << 30; // skips sanitizer shadows
    std::vector<uint8_t> chunk(kChunk + kMasked.size());
    std::vector<uintptr_t> found;
    const int mem = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    for (const auto& [begin, end] : WritableRanges()) {
        if (end - begin > kLargest)
            continue;
        for (uintptr_t at = begin; at < end; at += kChunk) {
            const std::size_t want = std::min<uintptr_t>(kChunk + kMasked.size() - 1, end - at);
            const ssize_t got = ::pread(mem, chunk.data(), want, static_cast<off_t>(at));
            for (ssize_t i = 0; i + static_cast<ssize_t>(kMasked.size()) <= got; ++i) {
                if (MatchesAt(chunk, static_cast<std::size_t>(i)))
                    found.push_back(at + static_cast<uintptr_t>(i));
            }
        }
    }
    ::close(mem);
    std::fill(chunk.begin(), chunk.end(), 0);
    return found;
}

class NoTerminal : public PasswordPrompter {
public:
    bool Ask(const std::string&, SecretText&, std::string& problem) override {
        problem = "no terminal";
        return false;
    }
};

int RunQuietly(const std::vector<std::string>& args, int in) {
    NoTerminal prompter;
    std::ostringstream out, err;
    const CliEnvironment env{in, out, err, false, prompter, {}};
    return RunCli(args, env);
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
