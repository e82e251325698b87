// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's cases run on real files in a scratch directory, through the
// fault-injecting file system.
#pragma once

#include "crypto/Endian.h"
#include "engine/CryptFile.h"
#include "support/FaultyFiles.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace kelvane {

using testing_support::FaultyFiles;
using testing_support::PatternBytes;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr char kPassword[] = "secret12";

inline uint32_t Le32(const std::vector<uint8_t>& b, std::size_t at) {
    return load32_le(b.data() + at);
}

// Every engine case runs three ways: with its stages inline on the caller's
// thread; with the checksum, the cipher and the transfers on threads; and on
// threads through a small ring, so every stage of a larger file wraps around it.
enum class Mode { Inline, Threads, SmallRing };
class CryptFileFixture : public testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void UseMode(Mode mode) {
        hooks.parallelFrom = mode == Mode::Inline ? std::numeric_limits<int64_t>::max() : 0;
        if (mode == Mode::SmallRing)
            hooks.ringBytes = 40000;
    }
    void TearDown() override { ResetEngineState(); }

    CryptResult Encrypt(const std::string& plain, const std::string& crypted,
                        const std::string& password = kPassword) {
        return EncryptFile(dir / plain, dir / crypted, password, fill, drain, hooks);
    }
    CryptResult Decrypt(const std::string& crypted, const std::string& plain,
                        const std::string& password = kPassword) {
        return DecryptFile(dir / crypted, dir / plain, password, fill, drain, hooks);
    }
    // A crypted file made from `plain` bytes, for the decryption cases.
    std::vector<uint8_t> CryptedOf(const std::vector<uint8_t>& plain) {
        WriteBytes(dir / "source", plain);
        EXPECT_EQ(EncryptFile(dir / "source", dir / "made.cry", kPassword, fill, drain), crOk);
        auto bytes = ReadBytes(dir / "made.cry");
        std::filesystem::remove(dir / "made.cry");
        std::filesystem::remove(dir / "source");
        return bytes;
    }

    TempDir dir;
    ProgressCounter fill, drain;
    FaultyFiles faults;
    CryptHooks hooks{&faults, {}, std::chrono::microseconds{5000}};
};

inline std::string ModeName(Mode mode) {
    return mode == Mode::Inline ? "Inline" : mode == Mode::Threads ? "Threads" : "SmallRing";
}

inline const auto kModes = testing::Values(Mode::Inline, Mode::Threads, Mode::SmallRing);

} // namespace kelvane
