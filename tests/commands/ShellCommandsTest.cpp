// SPDX-License-Identifier: GPL-3.0-or-later
// The watch over crypted files handed to their applications, on a window
// without widgets: files with no process to wait for, the close warning's
// end of the watch, and a cancelled re-encryption.
#include "commands/ShellCommands.h"

#include "CommandFixture.h"
#include "FakeHost.h"
#include "platform/PlainFileJournal.h"
#include "support/HoldingChild.h"
#include "support/ScriptedMessages.h"

#include <functional>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::HoldingChild;

class FakeShellHost : public ShellHost {
public:
    CommandHost& Commands() override { return commands; }
    RowSpan SelectedRows(FileGrid) override { return {1, 1}; }
    std::string RowName(FileGrid, int) override { return {}; }
    void WaitBetweenPasses() override {
        ++passes;
        if (onPass)
            onPass(passes);
    }
    void CloseMainWindow() override { ++closes; }
    bool ChangeDirectory(const std::string& directory) override {
        return ::chdir(directory.c_str()) == 0;
    }

    testing_support::FakeHost commands;
    std::function<void(int)> onPass;
    int passes = 0;
    int closes = 0;
};

class ShellCommandsTest : public testing_support::CommandFixture {
protected:
    ShellCommandsTest() {
        // A session password: re-encryptions ask nothing.
        OnePassword = 1;
        HavePassword = true;
        RememberedPassword = "secret1";
    }

    // A plain file handed on earlier and now watched, with no process to
    // wait for unless one is given.
    void Watched(const std::string& name, const std::string& text, int64_t process = 0) {
        testing_support::WriteFile(dir / name, text);
        for (OpenFileSlot& slot : OpenFiles) {
            if (!slot.InUse) {
                slot = OpenFileSlot{
                    name, std::filesystem::current_path().string(), false, true, process, 0};
                ++OpenCount;
                return;
            }
        }
    }

    // A child of ours that has ended already.
    static pid_t EndedChild() {
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(0);
        siginfo_t info{};
        ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
        return pid;
    }

    FakeShellHost host;
    testing_support::ScriptedMessages messages;
};

TEST_F(ShellCommandsTest, FileWithoutProcessIsEncryptedOnceItWasHeldAndLetGo) {
    Watched("solo.txt", "alone");
    std::unique_ptr<HoldingChild> application;
    host.onPass = [&](int pass) {
        EXPECT_TRUE(testing_support::Exists(dir / "solo.txt")) << "pass " << pass;
        if (pass == 2)
            application = std::make_unique<HoldingChild>(dir / "solo.txt");
        else if (pass == 5)
            application->LetGo();
    };
    WatchOpenFiles(host);

    EXPECT_GT(host.passes, 5);
    EXPECT_EQ(OpenCount, 0);
    EXPECT_FALSE(testing_support::Exists(dir / "solo.txt"));
    EXPECT_TRUE(testing_support::Exists(dir / "solo.txt.cry"));
    EXPECT_EQ(host.closes, 0);
}

TEST_F(ShellCommandsTest, ConfirmedCloseEndsTheWatchAndNamesEveryFileLeftPlain) {
    Watched("a.txt", "first");
    Watched("b.txt", "second");
    Watched("gone.txt", "deleted by the user meanwhile");
    std::filesystem::remove(dir / "gone.txt");
    messages.Expect(LeftDecryptedText({"a.txt", "b.txt"}));
    host.onPass = [](int pass) {
        if (pass == 10)
            CancelRequested = true; // OK in the close warning
    };
    WatchOpenFiles(host);

    EXPECT_EQ(host.passes, 10);
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(OpenCount, 0);
    for (const OpenFileSlot& slot : OpenFiles)
        EXPECT_FALSE(slot.InUse);
    EXPECT_EQ(testing_support::ReadFile(dir / "a.txt"), "first");
}

TEST_F(ShellCommandsTest, CancelledReEncryptionLeavesThatFileAndTheWatchGoesOn) {
    Watched("big.bin", testing_support::RandomBytes(2'000'000, 7), EndedChild());
    Watched("later.txt", "still open");
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    int events = 0;
    DefaultCryptHooks().letEventsRun = [&] {
        if (++events == 3)
            CancelRequested = true; // "Cancel process" during the re-encryption
    };
    messages.Expect("You have aborted processing \"big.bin\".")
        .Expect(LeftDecryptedText({"big.bin"}))
        .Expect(LeftDecryptedText({"later.txt"}));
    host.onPass = [](int pass) {
        EXPECT_EQ(OpenCount, pass < 2 ? 2 : 1);
        if (pass == 4)
            CancelRequested = true;
    };
    WatchOpenFiles(host);

    EXPECT_EQ(host.passes, 4) << "the cancel of one re-encryption must not end the watch";
    EXPECT_EQ(host.closes, 1);
    EXPECT_TRUE(testing_support::Exists(dir / "big.bin"));
    EXPECT_FALSE(testing_support::Exists(dir / "big.bin.cry"));
}

// An application that renamed or removed its file may have left the plain
// text under another name: the user hears of it. A file the user encrypted
// meanwhile is protected, and nothing is said.
TEST_F(ShellCommandsTest, WatchedFileGoneFromItsPlaceIsDroppedAndTheUserToldUnlessEncrypted) {
    Watched("temp.txt", "x", EndedChild());
    std::filesystem::rename(dir / "temp.txt", dir / "temp.txt.renamed");
    messages.Expect(GoneFromItsPlaceText("temp.txt"));
    WatchOpenFiles(host);
    EXPECT_EQ(OpenCount, 0);
    EXPECT_EQ(host.closes, 0);

    Watched("mine.txt", "y", EndedChild());
    std::filesystem::rename(dir / "mine.txt", dir / "mine.txt.cry");
    WatchOpenFiles(host);
    EXPECT_EQ(OpenCount, 0);
    EXPECT_EQ(messages.Shown().size(), 1u);
}

// A run killed while files were out leaves them in the journal; the next
// start names those still on disk in one question, and encrypts them on Yes.
// Entries of a run still going are its own business, gone files are dropped.
TEST_F(ShellCommandsTest, FilesLeftOutByAnEndedRunAreOfferedForEncryptionAtStart) {
    const std::string journal = DefaultJournalPath();
    ASSERT_EQ(journal, stateHome / "kelvane/decrypted-files");
    testing_support::WriteFile(dir / "left.txt", "left out");
    testing_support::WriteFile(dir / "watched.txt", "out in a running window");
    const pid_t ended = EndedChild();
    ::waitpid(ended, nullptr, 0);
    std::filesystem::create_directories(stateHome / "kelvane");
    testing_support::WriteFile(journal, std::to_string(ended) + " " + (dir / "left.txt") + "\n" +
                                            std::to_string(ended) + " " + (dir / "gone.txt") +
                                            "\n" + std::to_string(::getpid()) + " " +
                                            (dir / "watched.txt") + "\n");
    messages.Expect(LeftFromLastRunText({dir / "left.txt"}), mrYes);
    OfferToEncryptLeftFiles(host.commands);

    EXPECT_FALSE(testing_support::Exists(dir / "left.txt"));
    EXPECT_TRUE(testing_support::Exists(dir / "left.txt.cry"));
    EXPECT_TRUE(testing_support::Exists(dir / "watched.txt"));
    EXPECT_EQ(ReadJournal(journal), (std::vector<JournalEntry>{{::getpid(), dir / "watched.txt"}}));

    // Nothing left to name: no question at all.
    RemoveFromJournal(journal, dir / "watched.txt");
    OfferToEncryptLeftFiles(host.commands);
    EXPECT_FALSE(testing_support::Exists(journal));
}

} // namespace
} // namespace kelvane
