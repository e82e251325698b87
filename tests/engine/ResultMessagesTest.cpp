// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/ResultMessages.h"

#include "engine/CryptFile.h"
#include "support/FaultyFiles.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing_support::FaultyFiles;
using testing_support::TempDir;

constexpr char kPassword[] = "secret12";

// Each failure is brought about by a real run, so a code that the engine
// returns for the wrong reason, or a message row that drifted from its code,
// shows up as the wrong text for the user.
struct FailingRun {
    const char* what;
    std::function<CryptResult(const TempDir&, const std::string& name)> run;
    const char* message; // with "NAME" where the file's name goes
};

CryptResult Encrypt(const std::string& from, const std::string& to, const CryptHooks& hooks = {}) {
    ProgressCounter fill, drain;
    return EncryptFile(from, to, kPassword, fill, drain, hooks);
}

CryptResult Decrypt(const std::string& from, const std::string& to, const std::string& password) {
    ProgressCounter fill, drain;
    return DecryptFile(from, to, password, fill, drain);
}

CryptResult WithFaults(const TempDir& dir, const std::string& name,
                       const std::function<void(FaultyFiles&)>& arm) {
    dir.Write(name, std::string(100000, 'x'));
    FaultyFiles faults;
    arm(faults);
    CryptHooks hooks;
    hooks.files = &faults;
    return Encrypt(dir / name, dir / (name + ".cry"), hooks);
}

const FailingRun kRuns[] = {
    {"a missing source",
     [](const TempDir& dir, const std::string& name) {
         return Encrypt(dir / name, dir / (name + ".cry"));
     },
     "Couldn`t open file \"NAME\"."},
    {"a destination in a missing folder",
     [](const TempDir& dir, const std::string& name) {
         dir.Write(name, "plain text");
         return Encrypt(dir / name, dir / "no-such-folder/x.cry");
     },
     "Couldn`t create new file."},
    {"a wrong password",
     [](const TempDir& dir, const std::string& name) {
         dir.Write("plain", "plain text");
         Encrypt(dir / "plain", dir / name);
         return Decrypt(dir / name, dir / "back", "wrong123");
     },
     "Invalid password for the file \"NAME\"!"},
    {"a plain file given to decryption",
     [](const TempDir& dir, const std::string& name) {
         dir.Write(name, "this was never crypted");
         return Decrypt(dir / name, dir / "back", kPassword);
     },
     "Cannot identify a file \"NAME\" as a valid crypted file"},
    {"a read that fails",
     [](const TempDir& dir, const std::string& name) {
         return WithFaults(dir, name, [](FaultyFiles& f) { f.failReadAt = 0; });
     },
     "Couldn`t read file \"NAME\"."},
    {"a write that fails",
     [](const TempDir& dir, const std::string& name) {
         return WithFaults(dir, name, [](FaultyFiles& f) { f.failWriteAt = 0; });
     },
     "Processing file \"NAME\" have been aborted. Disk is full."},
    {"a file too big for the header",
     [](const TempDir& dir, const std::string& name) {
         return WithFaults(dir, name, [](FaultyFiles& f) { f.fakeSize = int64_t{1} << 31; });
     },
     "No memory.File \"NAME\" is too big."},
    {"a cancel",
     [](const TempDir& dir, const std::string& name) {
         dir.Write(name, std::string(100000, 'x'));
         CancelRequested = true;
         const CryptResult result = Encrypt(dir / name, dir / (name + ".cry"));
         CancelRequested = false;
         return result;
     },
     "You have aborted processing \"NAME\"."},
};

std::string WithName(std::string text, const std::string& name) {
    if (const auto at = text.find("NAME"); at != std::string::npos)
        text.replace(at, 4, name);
    return text;
}

TEST(ResultMessages, EachRealFailureReadsAsItsMessage) {
    for (const FailingRun& failing : kRuns) {
        TempDir dir;
        const std::string name = "my notes.txt";
        const CryptResult result = failing.run(dir, name);
        ASSERT_NE(result, crOk) << failing.what;
        // The user's message names the file as the command hands it over.
        EXPECT_EQ(ResultMessageText(result, name), WithName(failing.message, name)) << failing.what;
    }
}

TEST(ResultMessages, SuccessAndUnknownCodesShowNothing) {
    for (int32_t code : {0, -1, -3, -4, -5, -6, -7, -8, -16, 1, 100})
        EXPECT_EQ(ResultMessageText(static_cast<CryptResult>(code), "x"), std::nullopt) << code;
}

} // namespace
} // namespace kelvane
