// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and printing from the window's context menus with real launches:
// a handler application of the tests' own and a stand-in `lp` (ShellDesktop).
// The watch's pause between passes is replaced by a script that waits for
// the handlers' own signals, so no test waits on the clock.
#include "ShellDesktop.h"
#include "WindowFixture.h"
#include "commands/CommandLine.h"
#include "commands/ShellCommands.h"
#include "engine/CryptFile.h"
#include "platform/OpenFileScan.h"
#include "platform/PlainFileJournal.h"
#include "platform/ShellLaunch.h"
#include "support/EnvironmentGuard.h"
#include "ui/DecryptDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/StringGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <sstream>

namespace kelvane {
namespace {

using testing_support::ShellDesktop;

const std::string kCloseWarning =
    "Check out all your crypted files that was open now are closed. Close all applications, "
    "associated with them.Ensure that all files in the disk that should be protected,have been "
    "encrypted. Click cancel if you're not sure of it.";

class ShellWindowTest : public testing_support::WindowTest {
protected:
    void SetUp() override {
        desktop.Reset("exit");
        WindowTest::SetUp();
        Encrypt = new TEncrypt;
        Decrypt = new TDecrypt;
        DefaultShellHooks().waitBetweenPasses = [this] {
            ++passes;
            if (onPass)
                onPass(passes);
            QApplication::processEvents();
        };
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override {
        delete Decrypt;
        delete Encrypt;
        Decrypt = nullptr;
        Encrypt = nullptr;
        WindowTest::TearDown();
    }

    // The window with a session password, so a re-encryption asks nothing.
    TMainWin& OpenWindow(int32_t onePassword = 1) {
        auto registry = std::make_unique<testing_support::MemoryRegistry>(
            testing_support::MemoryRegistry::Installed(0, onePassword));
        window = std::make_unique<TMainWin>(drives, std::move(registry));
        ShowSized(640, 480);
        window->RefreshLists();
        return *window;
    }

    void MakeCrypted(const std::string& plainName, const std::string& text,
                     const std::string& password = "secret1") {
        const std::string plain = scratch / (plainName + ".source");
        testing_support::WriteFile(plain, text);
        ProgressCounter fill, drain;
        ASSERT_EQ(EncryptFile(plain, scratch / (plainName + ".cry"), password, fill, drain), crOk);
        std::filesystem::remove(plain);
    }

    std::string DecryptedText(const std::string& plainName,
                              const std::string& password = "secret1") {
        ProgressCounter fill, drain;
        const std::string out = scratch / (plainName + ".check");
        EXPECT_EQ(DecryptFile(scratch / (plainName + ".cry"), out, password, fill, drain), crOk);
        const std::string text = testing_support::ReadFile(out);
        std::filesystem::remove(out);
        return text;
    }

    void ExpectDecryptDialog(const QString& password = "secret1") {
        dialogs.Expect("Decryption procedure", [password](TModalForm&) {
            Decrypt->MaskEdit1->setText(password);
            Decrypt->Button2->click();
        });
    }

    static void SelectRows(TStringGrid& grid, int top, int bottom) {
        grid.SetCurrentCell(0, top);
        QItemSelection rows(grid.model()->index(top - 1, 0),
                            grid.model()->index(bottom - 1, TFileGridModel::kColumns - 1));
        grid.selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    }

    static int64_t WatchedProcess(const std::string& name) {
        for (const OpenFileSlot& slot : OpenFiles)
            if (slot.InUse && slot.Name == name)
                return slot.Process;
        return 0;
    }

    bool Exists(const std::string& name) const { return std::filesystem::exists(scratch / name); }

    ShellDesktop& desktop = ShellDesktop::Get();
    int passes = 0;
    std::function<void(int)> onPass;
};

TEST_F(ShellWindowTest, OpenedCryptedFileIsShownPlainAndEncryptedAgainWhenItsApplicationEnds) {
    MakeCrypted("notes.kvtest", "plain words");
    TMainWin& w = OpenWindow();
    ExpectDecryptDialog();
    onPass = [&](int) {
        EXPECT_EQ(OpenCount, 1);
        EXPECT_TRUE(Exists("notes.kvtest"));
        ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("notes.kvtest")));
    };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();

    EXPECT_EQ(desktop.Seen("notes.kvtest"), "plain words");
    EXPECT_GE(passes, 1);
    EXPECT_EQ(OpenCount, 0);
    EXPECT_FALSE(Exists("notes.kvtest"));
    EXPECT_EQ(DecryptedText("notes.kvtest"), "plain words");
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "notes.kvtest");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "[no files]");
    EXPECT_EQ(w.Status_Label->text(), "Idle.");
}

TEST_F(ShellWindowTest, FilesOfOneSelectionAreOpenedOneAfterAnother) {
    MakeCrypted("a.kvtest", "first");
    MakeCrypted("b.kvtest", "second");
    TMainWin& w = OpenWindow();
    ExpectDecryptDialog(); // the second file takes the session password
    onPass = [&](int) {
        EXPECT_EQ(OpenCount, 1);
        EXPECT_FALSE(Exists("a.kvtest") && Exists("b.kvtest"));
        for (const OpenFileSlot& slot : OpenFiles) {
            if (slot.InUse) {
                ASSERT_TRUE(ShellDesktop::WaitEnded(slot.Process));
            }
        }
    };
    SelectRows(*w.StringGrid2, 1, 2);
    w.Open2Click();

    EXPECT_EQ(desktop.Calls(),
              "open " + (scratch / "a.kvtest") + "\nopen " + (scratch / "b.kvtest") + "\n");
    EXPECT_EQ(DecryptedText("a.kvtest"), "first");
    EXPECT_EQ(DecryptedText("b.kvtest"), "second");
    EXPECT_EQ(OpenCount, 0);
}

TEST_F(ShellWindowTest, SecondOpenWhileOneIsWatchedJoinsTheRunningWatch) {
    desktop.Reset("hold");
    MakeCrypted("a.kvtest", "first");
    MakeCrypted("b.kvtest", "second");
    TMainWin& w = OpenWindow();
    ExpectDecryptDialog();
    int countAfterNestedOpen = -1;
    onPass = [&](int pass) {
        if (pass == 1) {
            ASSERT_TRUE(desktop.WaitHolding());
            SelectRows(*w.StringGrid2, 1, 1); // b, now the only crypted row
            w.Open2Click();                   // returns at once: the watch runs further out
            countAfterNestedOpen = OpenCount;
            ASSERT_TRUE(desktop.WaitHolding());
        } else if (pass == 3) {
            // Both were seen held; now both applications end.
            EXPECT_TRUE(Exists("a.kvtest") && Exists("b.kvtest"));
            desktop.Release(2);
            ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("a.kvtest")));
            ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("b.kvtest")));
        }
    };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();

    EXPECT_EQ(countAfterNestedOpen, 2);
    EXPECT_EQ(OpenCount, 0);
    EXPECT_EQ(DecryptedText("a.kvtest"), "first");
    EXPECT_EQ(DecryptedText("b.kvtest"), "second");
}

TEST_F(ShellWindowTest, FileHandedToAnotherProcessIsEncryptedOnlyAfterThatProcessLetsGo) {
    desktop.Reset("handoff");
    MakeCrypted("report.kvtest", "handed on");
    TMainWin& w = OpenWindow();
    ExpectDecryptDialog();
    onPass = [&](int pass) {
        if (pass == 1) {
            ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("report.kvtest")));
            ASSERT_TRUE(desktop.WaitHolding());
        } else if (pass < 6) {
            // The launched program is gone, but the file is still held.
            EXPECT_TRUE(Exists("report.kvtest")) << "pass " << pass;
            EXPECT_EQ(OpenCount, 1);
        } else if (pass == 6) {
            desktop.Release();
            ASSERT_TRUE(desktop.WaitHoldersGone());
        }
    };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();

    EXPECT_GT(passes, 6);
    EXPECT_FALSE(Exists("report.kvtest"));
    EXPECT_EQ(DecryptedText("report.kvtest"), "handed on");
}

// Nobody will open a file whose application can't be started: it is
// encrypted again at once with the password just typed, with no new dialog,
// whether the type has no application or its application's program is gone.
TEST_F(ShellWindowTest, FileWhoseApplicationCannotStartIsEncryptedAgainAtOnce) {
    for (const std::string name : {"photo.kvorphan", "photo.kvbroken"}) {
        MakeCrypted(name, "pixels");
        TMainWin& w = OpenWindow(0); // no session password: only the decryption asks
        ExpectDecryptDialog();
        messages.Expect("Couldn't shell the respective application for the file " + name + ".");
        SelectRows(*w.StringGrid2, 1, 1);
        w.Open2Click();

        EXPECT_EQ(passes, 0);
        EXPECT_EQ(OpenCount, 0);
        EXPECT_FALSE(Exists(name));
        EXPECT_EQ(DecryptedText(name), "pixels");
        EXPECT_EQ(w.StringGrid1->Cells(0, 1), "[no files]");
        EXPECT_EQ(w.StringGrid2->Cells(0, 1), name);
        EXPECT_EQ(messages.Shown().back().kind, MessageKind::Error);
        EXPECT_TRUE(ReadJournal(DefaultJournalPath()).empty());
        EXPECT_TRUE(RememberedPassword.empty()) << "kept once the file was encrypted again";
        std::filesystem::remove(scratch / (name + ".cry"));
    }
}

TEST_F(ShellWindowTest, TwentySecondFileIsOpenedButLeftDecryptedAndTheUserIsTold) {
    MakeCrypted("extra.kvtest", "one too many");
    TMainWin& w = OpenWindow();
    for (OpenFileSlot& slot : OpenFiles)
        slot = OpenFileSlot{"elsewhere", scratch.Path(), false, true, 0, 0};
    OpenCount = kOpenFileSlots;
    ExpectDecryptDialog();
    messages.Expect(LeftDecryptedText({"extra.kvtest"}));
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();

    ShellDesktop::WaitUnwatchedEnded();
    EXPECT_EQ(passes, 0);
    EXPECT_EQ(OpenCount, kOpenFileSlots);
    EXPECT_EQ(desktop.Calls(), "open " + (scratch / "extra.kvtest") + "\n");
    EXPECT_EQ(testing_support::ReadFile(scratch / "extra.kvtest"), "one too many");
}

TEST_F(ShellWindowTest, ClosingWhileWatchedWarnsAndOkEndsTheWatchNamingTheFileLeftPlain) {
    desktop.Reset("hold");
    MakeCrypted("draft.kvtest", "unfinished");
    TMainWin& w = OpenWindow();
    ExpectDecryptDialog();
    messages.Expect(kCloseWarning, mrCancel)
        .Expect(kCloseWarning, mrOk)
        .Expect(LeftDecryptedText({"draft.kvtest"}));
    onPass = [&](int pass) {
        if (pass == 1) {
            ASSERT_TRUE(desktop.WaitHolding());
            w.Exit1Click(); // Cancel: the watch goes on
            EXPECT_TRUE(w.isVisible());
            EXPECT_FALSE(CancelRequested);
        } else if (pass == 2) {
            w.Exit1Click(); // OK
            EXPECT_TRUE(w.isVisible());
        }
    };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();

    EXPECT_EQ(passes, 2);
    EXPECT_EQ(OpenCount, 0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(testing_support::ReadFile(scratch / "draft.kvtest"), "unfinished");
    desktop.Release();
}

TEST_F(ShellWindowTest, CancelledReEncryptionSaysTheFileWasLeftDecrypted) {
    MakeCrypted("memo.kvtest", "keep me safe");
    TMainWin& w = OpenWindow(0); // no session password: the re-encryption asks
    ExpectDecryptDialog();
    dialogs.Expect("Encryption procedure", [](TModalForm&) { Encrypt->Button1->click(); });
    messages.Expect(LeftDecryptedText({"memo.kvtest"}));
    onPass = [&](int) { ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("memo.kvtest"))); };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();

    EXPECT_EQ(OpenCount, 0);
    EXPECT_EQ(testing_support::ReadFile(scratch / "memo.kvtest"), "keep me safe");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "memo.kvtest");
}

TEST_F(ShellWindowTest, PlainFilesAreOpenedAndPrintedInRowOrderWithoutWatching) {
    scratch.Write("a.kvtest", 3);
    scratch.Write("b.txt", 5);
    scratch.Write("c.kvorphan", 1);
    TMainWin& w = OpenWindow();
    SelectRows(*w.StringGrid1, 1, 2);
    w.Print1Click();
    SelectRows(*w.StringGrid1, 1, 1);
    w.Open1Click();
    messages.Expect("Couldn't shell the respective application for the file c.kvorphan.");
    SelectRows(*w.StringGrid1, 3, 3);
    w.Open1Click();

    // Nobody waits for these programs; the log is complete once they ended.
    ShellDesktop::WaitUnwatchedEnded();
    EXPECT_EQ(passes, 0);
    EXPECT_EQ(OpenCount, 0);
    std::vector<std::string> calls;
    std::istringstream log(desktop.Calls());
    for (std::string line; std::getline(log, line);)
        calls.push_back(line);
    std::sort(calls.begin(), calls.end());
    EXPECT_EQ(calls, (std::vector<std::string>{"lp a.kvtest", "lp b.txt",
                                               "open " + (scratch / "a.kvtest")}));
    EXPECT_EQ(desktop.Seen("b.txt"), "xxxxx");
}

TEST_F(ShellWindowTest, PrintingACryptedFileSpoolsThePlainBytesAndEncryptsAgain) {
    MakeCrypted("invoice.kvtest", "amount due");
    TMainWin& w = OpenWindow();
    ExpectDecryptDialog();
    onPass = [&](int) { ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("invoice.kvtest"))); };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Print2Click();

    EXPECT_EQ(desktop.Calls(), "lp invoice.kvtest\n");
    EXPECT_EQ(desktop.Seen("invoice.kvtest"), "amount due");
    EXPECT_EQ(DecryptedText("invoice.kvtest"), "amount due");
    EXPECT_FALSE(Exists("invoice.kvtest"));
}

TEST_F(ShellWindowTest, CryptedOpenIsRefusedWhileBusyButPlainOpenIsNot) {
    MakeCrypted("c.kvtest", "crypted");
    scratch.Write("p.kvtest", 2);
    TMainWin& w = OpenWindow();
    EncryptBusy = true;
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();
    EXPECT_EQ(w.Status_Label->text(), "Wait till process is finished.");
    EXPECT_TRUE(Exists("c.kvtest.cry"));
    SelectRows(*w.StringGrid1, 1, 1);
    w.Open1Click();
    EncryptBusy = false;
    ShellDesktop::WaitUnwatchedEnded();
    EXPECT_EQ(desktop.Calls(), "open " + (scratch / "p.kvtest") + "\n");
}

// While the file is out the status line counts it and the journal names it;
// the re-encryption's dialog shows where the file really is.
TEST_F(ShellWindowTest, WatchedFileIsEncryptedWhereItIsAfterTheUserMovesToAnotherFolder) {
    desktop.Reset("hold");
    MakeCrypted("away.kvtest", "stay here");
    scratch.MakeFolder("elsewhere");
    TMainWin& w = OpenWindow(0);
    ExpectDecryptDialog();
    dialogs.Expect("Encryption procedure", [&](TModalForm&) {
        EXPECT_EQ(Encrypt->FName_Label->text().toStdString(), scratch / "away.kvtest");
        Encrypt->MaskEdit1->setText("secret1");
        Encrypt->MaskEdit2->setText("secret1");
        Encrypt->Button2->click();
    });
    onPass = [&](int pass) {
        EXPECT_EQ(w.Status_Label->text().toStdString(), OpenFilesStatusText(1));
        EXPECT_EQ(OpenFilesStatusText(2), "2 files are open in their applications.");
        ASSERT_EQ(ReadJournal(DefaultJournalPath()).size(), 1u);
        const JournalEntry entry = ReadJournal(DefaultJournalPath())[0];
        EXPECT_EQ(entry.path, scratch / "away.kvtest");
        EXPECT_EQ(entry.crypted, scratch / "away.kvtest.cry");
        // The file as it was written, by which a later start knows it.
        EXPECT_EQ(CheckJournalEntry(entry), EntryCheck::Ours);
        if (pass != 1)
            return;
        ASSERT_TRUE(desktop.WaitHolding());
        ASSERT_TRUE(w.ChangeDirectory(scratch / "elsewhere", true));
        desktop.Release();
        ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("away.kvtest")));
    };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();

    EXPECT_EQ(std::filesystem::current_path(), scratch / "elsewhere");
    EXPECT_FALSE(Exists("away.kvtest"));
    EXPECT_EQ(DecryptedText("away.kvtest"), "stay here");
    EXPECT_FALSE(Exists("elsewhere/away.kvtest.cry"));
    EXPECT_EQ(w.Status_Label->text(), "Idle.");
    EXPECT_TRUE(ReadJournal(DefaultJournalPath()).empty());
}

TEST_F(ShellWindowTest, PrintWithoutASpoolerIsReportedAndTheCryptedFileIsEncryptedAgain) {
    testing_support::EnvironmentGuard path("PATH");
    ::setenv("PATH", scratch.Path().c_str(), 1); // no lp here
    scratch.Write("letter.txt", 4);
    MakeCrypted("secret.txt", "classified");
    TMainWin& w = OpenWindow();
    messages.Expect("Couldn't shell the respective application for the file letter.txt.");
    SelectRows(*w.StringGrid1, 1, 1);
    w.Print1Click();

    ExpectDecryptDialog();
    messages.Expect("Couldn't shell the respective application for the file secret.txt.");
    SelectRows(*w.StringGrid2, 1, 1);
    w.Print2Click();
    EXPECT_EQ(OpenCount, 0);
    EXPECT_FALSE(Exists("secret.txt"));
    EXPECT_EQ(DecryptedText("secret.txt"), "classified");
    EXPECT_TRUE(desktop.Calls().empty());
}

// `lp` that finds no printer says so on its standard error only: the user
// reads it in a message, and the file is encrypted again.
TEST_F(ShellWindowTest, SpoolerErrorIsShownToTheUser) {
    desktop.Reset("lp-fails");
    MakeCrypted("bill.txt", "pay now");
    TMainWin& w = OpenWindow();
    ExpectDecryptDialog();
    messages.Expect(PrintFailedText("bill.txt", "lp: Error - No default destination.", 1));
    onPass = [&](int) { ASSERT_TRUE(ShellDesktop::WaitEnded(WatchedProcess("bill.txt"))); };
    SelectRows(*w.StringGrid2, 1, 1);
    w.Print2Click();

    EXPECT_EQ(OpenCount, 0);
    EXPECT_FALSE(Exists("bill.txt"));
    EXPECT_EQ(DecryptedText("bill.txt"), "pay now");
}

// A double-click, Open and Print on the row of an empty list all get the
// answer the other commands give that row.
TEST_F(ShellWindowTest, EveryCommandOnTheEmptyRowSaysThereIsNoSuchFile) {
    TMainWin& w = OpenWindow();
    ASSERT_EQ(w.StringGrid1->Cells(0, 1), "[no files]");
    const std::string notFound =
        "File \"[no files]\" is fisically not found in the current directory";
    messages.Expect(notFound).Expect(notFound);
    w.StringGrid1DblClick();
    w.StringGrid2DblClick();
    messages.Expect(notFound).Expect(notFound);
    SelectRows(*w.StringGrid2, 1, 1);
    w.Open2Click();
    w.Print2Click();
    messages.Expect("Couldn't shell the respective application for the file [no files].")
        .Expect("Couldn't shell the respective application for the file [no files].");
    SelectRows(*w.StringGrid1, 1, 1);
    w.Open1Click();
    w.Print1Click();
    EXPECT_TRUE(desktop.Calls().empty());

    EncryptBusy = true;
    w.StringGrid2DblClick();
    EXPECT_EQ(w.Status_Label->text(), "Wait till process is finished.");
    EncryptBusy = false;
}

} // namespace
} // namespace kelvane
