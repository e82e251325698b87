// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/PasswordPolicy.h"

#include "CommandFixture.h"
#include "FakeHost.h"

#include <string_view>

namespace kelvane {
namespace {

using testing_support::FakeHost;

class PasswordPolicyTest : public testing_support::CommandFixture {
protected:
    PasswordStep Obtain(PasswordDialog& dialog, const std::string& name = "a.txt") {
        return ObtainPassword(host, dialog, name);
    }

    FakeHost host;
};

TEST_F(PasswordPolicyTest, AcceptedPasswordIsRememberedAndTheFieldEmptied) {
    host.encrypt.Answer(mrOk, "secret1");
    EXPECT_EQ(Obtain(host.encrypt, "notes.txt"), PasswordStep::GoOn);
    EXPECT_EQ(RememberedPassword, "secret1");
    EXPECT_EQ(host.encrypt.field, "");
    EXPECT_EQ(host.encrypt.label, "/home/user/notes.txt");
    EXPECT_FALSE(HavePassword);
    EXPECT_FALSE(host.pwdTimerEnabled);
}

TEST_F(PasswordPolicyTest, FileLabelNeedsNoSecondSeparatorAtTheRoot) {
    EXPECT_EQ(FileLabelText("/", "a.txt"), "/a.txt");
    EXPECT_EQ(FileLabelText("/srv/data", "sub/a.txt"), "/srv/data/a.txt");
    EXPECT_EQ(FileLabelText("/srv/other", "/srv/data/a.txt"), "/srv/data/a.txt");
}

TEST_F(PasswordPolicyTest, SessionPasswordServesBothDirectionsUntilOnePasswordIsOff) {
    OnePassword = 1;
    host.encrypt.Answer(mrOk, "session");
    EXPECT_EQ(Obtain(host.encrypt), PasswordStep::GoOn);
    EXPECT_TRUE(host.pwdTimerEnabled);
    EXPECT_TRUE(HavePassword);

    PwdTicks = 100000; // no Expire: never too old
    EXPECT_EQ(Obtain(host.decrypt), PasswordStep::GoOn);
    EXPECT_EQ(Obtain(host.encrypt), PasswordStep::GoOn);
    EXPECT_EQ(host.encrypt.showings, 1);
    EXPECT_EQ(host.decrypt.showings, 0);
    EXPECT_EQ(RememberedPassword, "session");

    OnePassword = 0;
    host.decrypt.Answer(mrOk, "another");
    EXPECT_EQ(Obtain(host.decrypt), PasswordStep::GoOn);
    EXPECT_FALSE(host.pwdTimerEnabled);
    EXPECT_FALSE(HavePassword);
}

TEST_F(PasswordPolicyTest, ExpiresOnlyAfterExpireMinutesAndIsWipedBeforeTheDialog) {
    OnePassword = 1;
    Expire = 1;
    host.encrypt.Answer(mrOk, "12345678");
    Obtain(host.encrypt);
    for (int i = 0; i < 60; ++i)
        CountPasswordSecond();
    EXPECT_FALSE(PasswordExpired());
    EXPECT_EQ(Obtain(host.decrypt), PasswordStep::GoOn);
    EXPECT_EQ(host.decrypt.showings, 0);

    CountPasswordSecond(); // 61 seconds
    EXPECT_TRUE(PasswordExpired());
    const char* storage = RememberedPassword.data();
    std::string seenAtShowing;
    host.decrypt.onShow = [&] { seenAtShowing.assign(storage, 8); };
    host.decrypt.Answer(mrOk, "newpass1");
    EXPECT_EQ(Obtain(host.decrypt), PasswordStep::GoOn);
    EXPECT_EQ(seenAtShowing, std::string(8, '\0'));
    EXPECT_EQ(RememberedPassword, "newpass1");
    EXPECT_EQ(PwdTicks, 0);
}

// Nothing waits for the next question: the tick that ends the password's
// time wipes it, and the end of a command that still used it then.
TEST_F(PasswordPolicyTest, TheTickThatEndsThePasswordsTimeWipesItUnlessACommandUsesIt) {
    OnePassword = 1;
    Expire = 1;
    host.encrypt.Answer(mrOk, "12345678");
    Obtain(host.encrypt);
    const char* storage = RememberedPassword.data();
    for (int i = 0; i < 60; ++i)
        CountPasswordSecond();
    EXPECT_EQ(RememberedPassword, "12345678");
    CountPasswordSecond();
    EXPECT_TRUE(RememberedPassword.empty());
    EXPECT_EQ(std::string(storage, 8), std::string(8, '\0'));

    host.decrypt.Answer(mrOk, "abcdefgh");
    {
        const PasswordUse run;
        Obtain(host.decrypt);
        PwdTicks = 61;
        CountPasswordSecond();
        EXPECT_EQ(RememberedPassword, "abcdefgh") << "wiped under a running command";
    }
    EXPECT_TRUE(RememberedPassword.empty());
}

TEST_F(PasswordPolicyTest, PasswordFromBeforeOnePasswordWasOnIsNotReused) {
    host.encrypt.Answer(mrOk, "before1");
    Obtain(host.encrypt);
    OnePassword = 1;
    host.encrypt.Answer(mrOk, "after12");
    Obtain(host.encrypt);
    EXPECT_EQ(host.encrypt.showings, 2);
    EXPECT_EQ(RememberedPassword, "after12");
}

TEST_F(PasswordPolicyTest, CancelStopsAndEndsTheListOnlyOnItsFirstFile) {
    host.encrypt.Answer(mrCancel, "typed12");
    EXPECT_EQ(Obtain(host.encrypt), PasswordStep::Stop);
    EXPECT_FALSE(CancelRequested);
    EXPECT_EQ(host.encrypt.field, "");

    FirstOfList = true;
    host.encrypt.Answer(mrCancel);
    EXPECT_EQ(Obtain(host.encrypt), PasswordStep::Stop);
    EXPECT_TRUE(CancelRequested);
}

TEST_F(PasswordPolicyTest, LaterFilesOfAListReuseThePasswordWhileTheBoxIsTicked) {
    FirstOfList = true;
    host.encrypt.checked = true;
    host.encrypt.Answer(mrOk, "listpwd");
    Obtain(host.encrypt);
    FirstOfList = false;

    // Expiry has no say in a list.
    Expire = 1;
    PwdTicks = 1000;
    EXPECT_EQ(Obtain(host.encrypt), PasswordStep::GoOn);
    EXPECT_EQ(host.encrypt.showings, 1);

    host.encrypt.checked = false;
    host.encrypt.Answer(mrOk, "other12");
    Obtain(host.encrypt);
    EXPECT_EQ(host.encrypt.showings, 2);
}

TEST_F(PasswordPolicyTest, AnEmptyRememberedPasswordIsNeverReused) {
    // A ticked list box with nothing remembered (the first file never got
    // as far as the dialog) still asks.
    host.decrypt.checked = true;
    host.decrypt.Answer(mrOk, "pass123");
    EXPECT_EQ(Obtain(host.decrypt), PasswordStep::GoOn);
    EXPECT_EQ(host.decrypt.showings, 1);

    // Nor after expiry wiped it, when OnePassword was switched on mid-list.
    OnePassword = 1;
    Expire = 1;
    PwdTicks = 61;
    host.decrypt.Answer(mrOk, "pass456");
    EXPECT_EQ(Obtain(host.decrypt), PasswordStep::GoOn);
    EXPECT_EQ(host.decrypt.showings, 2);
    EXPECT_EQ(RememberedPassword, "pass456");

    // A dialog that hands back nothing stops the command.
    PwdTicks = 61;
    host.decrypt.Answer(mrOk, "");
    EXPECT_EQ(Obtain(host.decrypt), PasswordStep::Stop);
}

TEST_F(PasswordPolicyTest, HugeExpireNeverOverflowsIntoExpiry) {
    OnePassword = 1;
    Expire = INT32_MAX;
    PwdTicks = INT32_MAX;
    EXPECT_FALSE(PasswordExpired());
    CountPasswordSecond();
    EXPECT_EQ(PwdTicks, INT32_MAX);
}

// The end of the program and every test rely on the one reset: a session
// password, a pending cancel or a hook left behind would carry over.
TEST_F(PasswordPolicyTest, ResetLeavesNothingOfTheSessionBehind) {
    OnePassword = 1;
    HavePassword = true;
    RememberedPassword = "secret1";
    PwdTicks = 30;
    DoubleClicked = true;
    CancelRequested = true;
    DefaultCryptHooks().letEventsRun = [] {};
    DefaultShellHooks().waitBetweenPasses = [] {};

    ResetSharedState();
    EXPECT_TRUE(RememberedPassword.empty());
    EXPECT_FALSE(HavePassword || DoubleClicked || CancelRequested);
    EXPECT_EQ(OnePassword, 0);
    EXPECT_EQ(PwdTicks, 0);
    EXPECT_FALSE(DefaultCryptHooks().letEventsRun || DefaultShellHooks().waitBetweenPasses);
    host.encrypt.Answer(mrCancel, "");
    EXPECT_EQ(Obtain(host.encrypt), PasswordStep::Stop); // asked, not handed the old one
}

} // namespace
} // namespace kelvane
