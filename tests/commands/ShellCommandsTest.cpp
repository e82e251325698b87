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

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <sys/inotify.h>
#include <sys/stat.h>
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

// A journal line as the program writes it, naming `plain` as it is on disk
// now; `identity` false for a run killed before its file was written.
std::string JournalLine(long process, const std::string& plain, bool identity = true) {
    std::string line = "@ " + std::to_string(process) + ' ';
    struct stat st {};
    if (identity && ::lstat(plain.c_str(), &st) == 0)
        line += std::to_string(st.st_dev) + ' ' + std::to_string(st.st_ino) + ' ' +
                std::to_string(st.st_size);
    else
        line += "- - -";
    return line + ' ' + plain + ".cry " + plain + '\n';
}

// The journal's own lines, as a run writes them: any name a file may have
// comes back as it was, and the file is known by what was written.
TEST_F(ShellCommandsTest, TheJournalKnowsAFileOfAnyNameByWhatWasWritten) {
    const std::string journal = DefaultJournalPath();
    const std::vector<std::string> names = {"with space.txt", "back\\slash \\s", "line\nfeed"};
    for (const std::string& name : names) {
        ASSERT_TRUE(AddToJournal(journal, dir / name, dir / (name + ".cry")));
        testing_support::WriteFile(dir / name, "plain " + name);
        ASSERT_TRUE(NoteWrittenFile(journal, dir / name));
    }
    const std::vector<JournalEntry> entries = ReadJournal(journal);
    ASSERT_EQ(entries.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(entries[i].path, dir / names[i]);
        EXPECT_EQ(entries[i].crypted, dir / (names[i] + ".cry"));
        EXPECT_EQ(CheckJournalEntry(entries[i]), EntryCheck::Ours) << names[i];
    }
    testing_support::WriteFile(dir / names[0], "edited since, and longer");
    EXPECT_EQ(CheckJournalEntry(entries[0]), EntryCheck::NotOurs);
    std::filesystem::remove(dir / names[1]);
    EXPECT_EQ(CheckJournalEntry(entries[1]), EntryCheck::Gone);

    for (const std::string& name : names)
        ASSERT_TRUE(RemoveFromJournal(journal, dir / name));
    EXPECT_FALSE(testing_support::Exists(journal));
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
    testing_support::WriteFile(journal, JournalLine(ended, dir / "left.txt") +
                                            JournalLine(ended, dir / "gone.txt") +
                                            JournalLine(::getpid(), dir / "watched.txt"));
    const std::vector<JournalEntry> watched = {ReadJournal(journal).back()};
    messages.Expect(LeftFromLastRunText({dir / "left.txt"}), mrYes);
    OfferToEncryptLeftFiles(host.commands);

    EXPECT_FALSE(testing_support::Exists(dir / "left.txt"));
    EXPECT_TRUE(testing_support::Exists(dir / "left.txt.cry"));
    EXPECT_TRUE(testing_support::Exists(dir / "watched.txt"));
    EXPECT_EQ(ReadJournal(journal), watched);

    // Nothing left to name: no question at all.
    RemoveFromJournal(journal, dir / "watched.txt");
    OfferToEncryptLeftFiles(host.commands);
    EXPECT_FALSE(testing_support::Exists(journal));
}

// What the journal names is encrypted, and then deleted, only when it is the
// very file the program wrote there. Anything else is named to the user in
// one word, left exactly as it is and taken out of the journal.
TEST_F(ShellCommandsTest, AFileTheJournalNamesIsEncryptedOnlyWhenItIsTheOneTheProgramWrote) {
    const std::string journal = DefaultJournalPath();
    std::filesystem::create_directories(stateHome / "kelvane");
    std::filesystem::create_directories(dir / "real");
    std::filesystem::create_directory_symlink(dir / "real", dir / "via");
    const std::map<std::string, std::string> files = {
        {"ours.txt", "decrypted by us"},
        {"earlier.txt", "named by an earlier version, or by anyone"},
        {"killed.txt", "named before its run could write it"},
        {"replaced.txt", "put in place of ours"},
        {"real/linked.txt", "reached through a link to its folder"},
    };
    for (const auto& [name, text] : files)
        testing_support::WriteFile(dir / name, text);
    const pid_t ended = EndedChild();
    ::waitpid(ended, nullptr, 0);
    const std::string lines =
        JournalLine(ended, dir / "ours.txt") + std::to_string(ended) + " " + (dir / "earlier.txt") +
        "\n" + JournalLine(ended, dir / "killed.txt", false) +
        JournalLine(ended, dir / "replaced.txt") + JournalLine(ended, dir / "via/linked.txt");
    testing_support::WriteFile(journal, lines);
    // Made while the first is still there, so it can't get the same inode.
    testing_support::WriteFile(dir / "replacement", files.at("replaced.txt"));
    std::filesystem::rename(dir / "replacement", dir / "replaced.txt");

    messages
        .Expect(NotLeftByUsText({dir / "earlier.txt", dir / "killed.txt", dir / "replaced.txt",
                                 dir / "via/linked.txt"}))
        .Expect(LeftFromLastRunText({dir / "ours.txt"}), mrYes);
    OfferToEncryptLeftFiles(host.commands);

    EXPECT_TRUE(testing_support::Exists(dir / "ours.txt.cry"));
    EXPECT_FALSE(testing_support::Exists(dir / "ours.txt"));
    for (const auto& [name, text] : files) {
        if (name != "ours.txt") {
            EXPECT_EQ(testing_support::ReadFile(dir / name), text) << name;
            EXPECT_FALSE(testing_support::Exists(dir / (name + ".cry"))) << name;
        }
    }
    EXPECT_FALSE(testing_support::Exists(journal));
}

// Found where the journal belongs, a named pipe would hold the window at its
// start, a link would lead the start to someone else's file: neither is read,
// and the user hears why nothing is offered.
TEST_F(ShellCommandsTest, AJournalThatIsNoFileOfOursIsNotReadAndDoesNotHoldTheStart) {
    const std::string journal = DefaultJournalPath();
    std::filesystem::create_directories(stateHome / "kelvane");
    testing_support::WriteFile(dir / "elsewhere.txt", "not ours to encrypt");
    const pid_t ended = EndedChild();
    ::waitpid(ended, nullptr, 0);
    testing_support::WriteFile(dir / "foreign", JournalLine(ended, dir / "elsewhere.txt"));

    for (const std::string kind : {"named pipe", "symbolic link"}) {
        std::filesystem::remove(journal);
        if (kind == "named pipe")
            ASSERT_EQ(::mkfifo(journal.c_str(), 0600), 0);
        else
            std::filesystem::create_symlink(dir / "foreign", journal);
        messages.Expect(JournalNotOursText(journal));
        auto start =
            std::async(std::launch::async, [&] { OfferToEncryptLeftFiles(host.commands); });
        if (start.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // A writer lets a reader blocked in open() go, and its end
            // gives that reader the end of the file.
            ::close(::open(journal.c_str(), O_WRONLY | O_CLOEXEC));
            start.wait();
            ADD_FAILURE() << "the start waited on the " << kind;
        }
    }
    EXPECT_EQ(testing_support::ReadFile(dir / "elsewhere.txt"), "not ours to encrypt");
}

// Each change of the journal rewrites it whole and flushes it twice; one
// per dead entry, a journal of thousands held the start for most of a minute.
TEST_F(ShellCommandsTest, ManyDeadEntriesAreTakenOutOfTheJournalInOneRewrite) {
    const std::string journal = DefaultJournalPath();
    std::filesystem::create_directories(stateHome / "kelvane");
    testing_support::WriteFile(dir / "watched.txt", "out in a running window");
    const pid_t ended = EndedChild();
    ::waitpid(ended, nullptr, 0);
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += JournalLine(ended, dir / ("gone" + std::to_string(i) + ".txt"));
    lines += JournalLine(::getpid(), dir / "watched.txt");
    testing_support::WriteFile(journal, lines);
    const std::vector<JournalEntry> watched = {ReadJournal(journal).back()};

    // Every version of the journal appears under its name once.
    const int changes = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(
        ::inotify_add_watch(changes, (stateHome / "kelvane").c_str(), IN_CREATE | IN_MOVED_TO), 0);
    OfferToEncryptLeftFiles(host.commands);
    int versions = 0;
    alignas(inotify_event) char events[64 * 1024];
    for (ssize_t got; (got = ::read(changes, events, sizeof events)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->len > 0 && std::string(event->name) == "decrypted-files" &&
                (event->mask & (IN_CREATE | IN_MOVED_TO)) != 0)
                ++versions;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    ::close(changes);
    EXPECT_EQ(versions, 1);
    EXPECT_EQ(ReadJournal(journal), watched);
}

// The texts put together from a sentence and file names read, in English,
// word for word as the program has always written them.
TEST(ShellCommandTexts, AssembledTextsKeepTheirEnglishWording) {
    std::vector<std::string> eleven;
    for (int i = 0; i < 11; ++i)
        eleven.push_back("/f" + std::to_string(i));
    const std::pair<std::string, std::string> rows[] = {
        {LeftDecryptedText({"a.txt"}),
         "The file a.txt has been left decrypted. Encrypt it again to protect it."},
        {LeftDecryptedText({"a.txt", "b.txt"}),
         "These files have been left decrypted: a.txt, b.txt. Encrypt them again to protect "
         "them."},
        {OpenFilesStatusText(1), "1 file is open in its application."},
        {PrintFailedText("bill.txt", "", 2),
         "The file bill.txt could not be printed: lp ended with code 2"},
        {PrintFailedText("bill.txt", "lp: no printer", 1),
         "The file bill.txt could not be printed: lp: no printer"},
        {LeftFromLastRunText({"/a/x.txt"}),
         "The file /a/x.txt was decrypted for an application when the program last ended, and "
         "is still readable. Encrypt it again now?"},
        {LeftFromLastRunText({"/a/x", "/a/y"}),
         "These files were: /a/x, /a/y; decrypted for an application when the program last "
         "ended, and are still readable. Encrypt them again now?"},
        {NotLeftByUsText(eleven),
         "These files are named in the record of files decrypted for an application, but can't "
         "be shown to be the files this program decrypted there (changed or replaced since, "
         "reached through a symbolic link, or recorded by an earlier version): /f0, /f1, /f2, "
         "/f3, /f4, /f5, /f6, /f7, /f8, /f9 and 1 more. They are not encrypted again; if they "
         "are yours and should be protected, encrypt them yourself."},
        {JournalNotOursText("/j"),
         "The record of files decrypted for an application, /j, is not a file this program "
         "keeps (a regular file of yours), so it was not read. Files an earlier run left "
         "decrypted can't be offered for encryption."},
    };
    for (const auto& [made, expected] : rows)
        EXPECT_EQ(made, expected);
}

} // namespace
} // namespace kelvane
