// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypt All and Decrypt All from the folder list's menu, on real trees:
// which files change and in what order, the password paths, "Cancel
// process", and trees that hold links, pipes and folders that go away.
#include "commands/TreeCommands.h"

#include "WindowFixture.h"
#include "commands/PasswordPolicy.h"
#include "platform/Paths.h"
#include "support/TempDir.h"
#include "ui/Controls.h"
#include "ui/DecryptDialog.h"
#include "ui/DirectoryListBox.h"
#include "ui/EncryptDialog.h"
#include "ui/EventPacing.h"
#include "ui/PasswordPromptDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <iostream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing_support::PatternBytes;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

class TreeCommandsTest : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Encrypt = new TEncrypt;
        Decrypt = new TDecrypt;
        Preferences = new TPreferences;
        PasswordPrompt = new TPasswordPrompt;
        // Events run before every entry, so a click can be placed between
        // two files.
        SetWindowEventBudget(std::chrono::microseconds(0));
    }
    void TearDown() override {
        delete PasswordPrompt;
        delete Preferences;
        delete Decrypt;
        delete Encrypt;
        PasswordPrompt = nullptr;
        Preferences = nullptr;
        Decrypt = nullptr;
        Encrypt = nullptr;
        WindowTest::TearDown();
    }

    // The window opened on `folder` below the scratch directory.
    TMainWin& OpenIn(const std::string& folder, int32_t showCry = 0) {
        fs::current_path(scratch / folder);
        TMainWin& w = Open(showCry);
        w.RefreshLists();
        return w;
    }

    void ExpectPrompt(QPushButton* TPasswordPrompt::*button) {
        dialogs.Expect("Confirmation",
                       [button](TModalForm&) { (PasswordPrompt->*button)->click(); });
    }

    // One password dialog, answered with the password; records the file it
    // was shown for as the folder list's directory and the name, and checks
    // that this is also the working directory the command names it in.
    void ExpectFileDialog(bool encrypt, const QString& password = "secret1") {
        dialogs.Expect(encrypt ? "Encryption procedure" : "Decryption procedure",
                       [this, encrypt, password](TModalForm&) {
                           TPasswordForm& form = encrypt ? static_cast<TPasswordForm&>(*Encrypt)
                                                         : static_cast<TPasswordForm&>(*Decrypt);
                           const std::string shown = window->DirectoryListBox1->Directory();
                           EXPECT_EQ(fs::current_path().string(), shown);
                           seen.push_back(Relative(
                               JoinPath(shown, NamePart(form.FName_Label->text().toStdString()))));
                           form.MaskEdit1->setText(password);
                           if (encrypt)
                               Encrypt->MaskEdit2->setText(password);
                           form.Button2->click();
                       });
    }

    std::string Relative(const std::string& path) const {
        return fs::relative(path, scratch.Path()).string();
    }

    static void UseSessionPassword() {
        OnePassword = 1;
        HavePassword = true;
        RememberedPassword = "secret1";
    }

    static void ExpectIdleAfterwards(TMainWin& w) {
        EXPECT_EQ(w.Status_Label->text(), "Idle.");
        EXPECT_FALSE(w.Button1->isVisibleTo(&w));
        EXPECT_FALSE(w.ProgressBar1->isVisibleTo(&w));
        EXPECT_FALSE(TreeBusy);
        EXPECT_FALSE(CancelRequested);
    }

    std::vector<std::string> seen; // the files the password dialogs were shown for
};

// top/                          with A.CRY, dot-files and empty folders
//   .hidden  A.CRY  b.txt  Zeta.doc
//   Alpha/x.bin   docs/.dot  docs/c.txt   docs/inner/d.txt  docs/inner/e.Cry
//   empty/   docs/inner/void/
void MakeThreeLevelTree(const testing_support::TempDir& s) {
    for (const char* folder : {"top/Alpha", "top/docs/inner/void", "top/empty"})
        s.MakeFolder(folder);
    uint32_t seed = 1;
    for (const char* file :
         {"top/.hidden", "top/A.CRY", "top/b.txt", "top/Zeta.doc", "top/Alpha/x.bin",
          "top/docs/.dot", "top/docs/c.txt", "top/docs/inner/d.txt", "top/docs/inner/e.Cry"}) {
        WriteBytes(s / file, PatternBytes(100 + 37 * seed, seed));
        ++seed;
    }
}

TEST_F(TreeCommandsTest, NoTakesTheOpenFolderOnlyAndYesThenWalksDepthFirst) {
    MakeThreeLevelTree(scratch);
    const auto aCry = ReadBytes(scratch / "top/A.CRY");
    TMainWin& w = OpenIn("top");
    const int gridHeight = w.StringGrid1->height();

    ExpectPrompt(&TPasswordPrompt::Proceed);
    messages.Expect("Recurse subdirectoryes?", mrNo);
    for (int i = 0; i < 3; ++i)
        ExpectFileDialog(true);
    w.EncriptAll1->trigger();
    EXPECT_EQ(seen, (std::vector<std::string>{"top/.hidden", "top/b.txt", "top/Zeta.doc"}));
    EXPECT_EQ(messages.Shown().back().buttons, unsigned{mbYes | mbNo | mbCancel});
    EXPECT_TRUE(fs::exists(scratch / "top/docs/c.txt"));
    ExpectIdleAfterwards(w);

    // Right after, on the same folder: only what is still plain, below it,
    // a subfolder taken where its bracketed name sorts.
    seen.clear();
    ExpectPrompt(&TPasswordPrompt::Proceed);
    messages.Expect("Recurse subdirectoryes?", mrYes);
    for (int i = 0; i < 4; ++i)
        ExpectFileDialog(true);
    w.EncriptAll1->trigger();
    EXPECT_EQ(seen, (std::vector<std::string>{"top/Alpha/x.bin", "top/docs/.dot",
                                              "top/docs/inner/d.txt", "top/docs/c.txt"}));
    EXPECT_EQ(ReadBytes(scratch / "top/A.CRY"), aCry);
    EXPECT_TRUE(fs::exists(scratch / "top/docs/inner/e.Cry"));
    EXPECT_FALSE(fs::exists(scratch / "top/docs/inner/e.Cry.cry"));
    for (const char* file : {".hidden", "b.txt", "Zeta.doc", "docs/.dot", "docs/inner/d.txt"})
        EXPECT_TRUE(fs::exists(scratch / ("top/" + std::string(file) + ".cry"))) << file;
    ExpectIdleAfterwards(w);
    // The walk ended on the starting folder's own entries, and the window's
    // commands name files there again.
    EXPECT_EQ(w.DirectoryListBox1->Directory(), scratch / "top");
    EXPECT_EQ(fs::current_path().string(), scratch / "top");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "[no files]");
    EXPECT_EQ(w.StringGrid1->height(), gridHeight); // the bars' room given back
    // The last folder entered was the empty one.
    EXPECT_EQ(w.FileListBox3.Items, (std::vector<std::string>{"[..]", "[.]"}));
}

TEST_F(TreeCommandsTest, EncryptAllThenDecryptAllGiveEveryFileBackByteForByte) {
    scratch.MakeFolder("top/sub");
    const std::vector<std::string> files{"top/one.txt", "top/Two.bin", "top/empty.dat"};
    for (uint32_t i = 0; i < files.size(); ++i)
        WriteBytes(scratch / files[i], PatternBytes(i == 2 ? 0 : 5000 * (i + 1), i + 7));
    WriteBytes(scratch / "top/sub/keep.txt", PatternBytes(10));
    std::vector<std::vector<uint8_t>> originals;
    for (const std::string& file : files)
        originals.push_back(ReadBytes(scratch / file));
    TMainWin& w = OpenIn("top");

    ExpectPrompt(&TPasswordPrompt::Proceed);
    messages.Expect("Recurse subdirectoryes?", mrNo);
    for (int i = 0; i < 3; ++i)
        ExpectFileDialog(true);
    w.EncriptAll1Click();
    for (const std::string& file : files)
        EXPECT_FALSE(fs::exists(scratch / file)) << file;
    EXPECT_EQ(w.StringGrid2->Cells(0, 3), "Two.bin");

    ExpectPrompt(&TPasswordPrompt::Proceed);
    messages.Expect("Recurse subdirectoryes?", mrNo);
    for (int i = 0; i < 3; ++i)
        ExpectFileDialog(false);
    w.Decriptall1->trigger();
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(ReadBytes(scratch / files[i]), originals[i]) << files[i];
        EXPECT_FALSE(fs::exists(scratch / (files[i] + ".cry"))) << files[i];
    }
    EXPECT_TRUE(fs::exists(scratch / "top/sub/keep.txt"));
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "[no files]");
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, DecryptAllHandsTheNameAsTheCryptedListShowsIt) {
    for (int32_t showCry : {0, 1}) {
        SCOPED_TRACE(showCry);
        const std::string folder = "top" + std::to_string(showCry);
        scratch.MakeFolder(folder);
        WriteBytes(scratch / (folder + "/report.doc"), PatternBytes(300));
        TMainWin& w = OpenIn(folder, showCry);
        ExpectFileDialog(true);
        ASSERT_TRUE(w.EncryptOneFile("report.doc"));

        ExpectPrompt(&TPasswordPrompt::Proceed);
        messages.Expect("Recurse subdirectoryes?", mrNo);
        dialogs.Expect("Decryption procedure", [showCry](TModalForm&) {
            EXPECT_EQ(NamePart(Decrypt->FName_Label->text().toStdString()),
                      showCry > 0 ? "report.doc.cry" : "report.doc");
            Decrypt->MaskEdit1->setText("secret1");
            Decrypt->Button2->click();
        });
        w.Decriptall1Click();
        EXPECT_EQ(ReadBytes(scratch / (folder + "/report.doc")), PatternBytes(300));
        window.reset();
    }
}

TEST_F(TreeCommandsTest, PromptCancelledOrClosedChangesNothingAndRefreshesNothing) {
    scratch.MakeFolder("top");
    WriteBytes(scratch / "top/a.txt", PatternBytes(10));
    TMainWin& w = OpenIn("top");
    WriteBytes(scratch / "top/later.txt", PatternBytes(10));

    ExpectPrompt(&TPasswordPrompt::Cancel);
    w.EncriptAll1Click();
    dialogs.Expect("Confirmation", [](TModalForm& dialog) { dialog.reject(); }); // close box
    w.Decriptall1Click();

    EXPECT_TRUE(fs::exists(scratch / "top/a.txt"));
    EXPECT_EQ(w.StringGrid1->RowCount(), 2); // "later.txt" not read in
    EXPECT_FALSE(TreeBusy);
}

TEST_F(TreeCommandsTest, ChangeButtonRunsThePreferencesAndTheWalkGoesOnWithTheirPassword) {
    scratch.MakeFolder("top");
    for (const char* file : {"top/a.txt", "top/b.txt", "top/c.txt"})
        WriteBytes(scratch / file, PatternBytes(64));
    TMainWin& w = OpenIn("top");

    ExpectPrompt(&TPasswordPrompt::Change);
    dialogs.Expect("Preferences", [](TModalForm&) {
        Preferences->OnePwd_CheckBox->setChecked(true);
        Preferences->Button1->click();
    });
    messages.Expect("Recurse subdirectoryes?", mrYes);
    ExpectFileDialog(true); // the first file's password serves the others
    w.EncriptAll1Click();
    EXPECT_EQ(OnePassword, 1);
    EXPECT_EQ(seen, std::vector<std::string>{"top/a.txt"});
    for (const char* file : {"top/a.txt.cry", "top/b.txt.cry", "top/c.txt.cry"})
        EXPECT_TRUE(fs::exists(scratch / file)) << file;

    // A valid session password: neither the prompt nor any password dialog.
    messages.Expect("Recurse subdirectoryes?", mrNo);
    w.Decriptall1Click();
    EXPECT_EQ(dialogs.Shown().size(), 3u);
    EXPECT_EQ(ReadBytes(scratch / "top/c.txt"), PatternBytes(64));
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, CancellingOneFilesPasswordDialogSkipsThatFileOnly) {
    scratch.MakeFolder("top/sub");
    for (const char* file : {"top/a.txt", "top/b.txt", "top/c.txt"})
        WriteBytes(scratch / file, PatternBytes(64));
    TMainWin& w = OpenIn("top");
    const int currentRow = w.DirectoryListBox1->currentRow();
    ExpectPrompt(&TPasswordPrompt::Proceed);
    messages.Expect("Recurse subdirectoryes?", mrNo);
    ExpectFileDialog(true);
    dialogs.Expect("Encryption procedure", [&w](TModalForm&) {
        // The user highlights another folder meanwhile; the walk takes the
        // list back to its own folder at the next file.
        w.DirectoryListBox1->setCurrentRow(0);
        Encrypt->Button1->click();
    });
    messages.Expect(StopRunQuestion("b.txt"), mrNo);
    dialogs.Expect("Encryption procedure", [&w, currentRow](TModalForm&) {
        EXPECT_EQ(w.DirectoryListBox1->currentRow(), currentRow);
        Encrypt->MaskEdit1->setText("secret1");
        Encrypt->MaskEdit2->setText("secret1");
        Encrypt->Button2->click();
    });
    w.EncriptAll1Click();
    EXPECT_TRUE(fs::exists(scratch / "top/a.txt.cry"));
    EXPECT_TRUE(fs::exists(scratch / "top/b.txt"));
    EXPECT_TRUE(fs::exists(scratch / "top/c.txt.cry"));
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, CancelProcessBetweenFilesStopsAtOnceWithoutAQuestion) {
    // Cancel is pressed when files are seen done: each is committed alone,
    // before the next file starts.
    WalkBatchLimits.files = 1;
    WalkCommits = CommitBatch::Where::Inline;
    scratch.MakeFolder("top/sub");
    for (const char* file : {"top/a.txt", "top/b.txt", "top/c.txt", "top/sub/d.txt"})
        WriteBytes(scratch / file, PatternBytes(64));
    TMainWin& w = OpenIn("top");
    ShowSized(640, 480);
    const int fullHeight = w.StringGrid1->height();
    UseSessionPassword();
    messages.Expect("Recurse subdirectoryes?", mrYes);
    // Visible from the first file done on, and pressed once two are; the
    // window is laid out anew in between, as when a dialog closes.
    PressCancelProcessWhen([this] { return fs::exists(scratch / "top/sub/d.txt.cry"); },
                           [this, &w] {
                               w.LayoutWindow();
                               return fs::exists(scratch / "top/a.txt.cry");
                           });
    w.EncriptAll1Click();
    EXPECT_EQ(w.StringGrid1->height(), fullHeight);
    EXPECT_TRUE(cancelPressed);
    EXPECT_GE(cancelTurnsSeen, 2);
    EXPECT_TRUE(fs::exists(scratch / "top/a.txt.cry"));
    EXPECT_TRUE(fs::exists(scratch / "top/b.txt"));
    EXPECT_TRUE(fs::exists(scratch / "top/c.txt"));
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, ARefusedSessionPasswordIsAskedForAgainAndCancelThereEndsTheWalk) {
    scratch.MakeFolder("top");
    for (const char* file : {"top/a.txt", "top/b.txt", "top/c.txt"})
        WriteBytes(scratch / file, PatternBytes(64));
    TMainWin& w = OpenIn("top");
    UseSessionPassword();
    messages.Expect("Recurse subdirectoryes?", mrNo);
    w.EncriptAll1Click();
    ASSERT_TRUE(fs::exists(scratch / "top/c.txt.cry"));

    RememberedPassword = "wrong12";
    messages.Expect("Recurse subdirectoryes?", mrNo);
    messages.Expect("Invalid password for the file \"a.txt\"!");
    dialogs.Expect("Decryption procedure", [](TModalForm& form) { form.SetModalResult(mrCancel); });
    w.Decriptall1Click();
    for (const char* file : {"top/a.txt.cry", "top/b.txt.cry", "top/c.txt.cry"})
        EXPECT_TRUE(fs::exists(scratch / file)) << file;
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, ARightClickedFolderIsHighlightedAndOpenedByTheMenusChoice) {
    scratch.MakeFolder("top/sub");
    WriteBytes(scratch / "top/a.txt", PatternBytes(64));
    WriteBytes(scratch / "top/sub/b.txt", PatternBytes(64));
    TMainWin& w = OpenIn("top");
    ShowSized(640, 480);
    TDirectoryListBox& list = *w.DirectoryListBox1;
    int row = 0;
    while (row < list.count() && list.ItemPath(row) != scratch / "top/sub")
        ++row;
    ASSERT_LT(row, list.count());
    const QPoint at = list.viewport()->mapTo(&w, list.visualItemRect(list.item(row)).center());
    auto rightClick = [&] {
        QTest::mouseClick(w.windowHandle(), Qt::RightButton, {}, at);
        QApplication::processEvents();
    };

    // Escape leaves the window where it was.
    rightClick();
    EXPECT_EQ(list.Directory(), scratch / "top");
    EXPECT_EQ(list.HighlightedPath(), scratch / "top/sub");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "a.txt");
    EXPECT_TRUE(w.PopupMenu1->isVisible());
    w.PopupMenu1->hide();

    // "Explore" opens it.
    rightClick();
    w.PopupMenu1->hide();
    w.Explore1->trigger();
    EXPECT_EQ(list.Directory(), scratch / "top/sub");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "b.txt");

    // "Encrypt All" opens it first, so the lists show what the walk takes.
    ASSERT_TRUE(w.ChangeDirectory(scratch / "top", true));
    rightClick();
    w.PopupMenu1->hide();
    UseSessionPassword();
    messages.Expect("Recurse subdirectoryes?", [&] {
        EXPECT_EQ(list.Directory(), scratch / "top/sub");
        EXPECT_EQ(w.StringGrid1->Cells(0, 1), "b.txt");
        return mrNo;
    });
    w.EncriptAll1->trigger();
    EXPECT_TRUE(fs::exists(scratch / "top/sub/b.txt.cry"));
    EXPECT_TRUE(fs::exists(scratch / "top/a.txt"));
}

TEST_F(TreeCommandsTest, CancelProcessDuringALargeFileAsksFirstThenStopsTheWalk) {
    scratch.MakeFolder("top");
    WriteBytes(scratch / "top/a.bin", PatternBytes(3'000'000));
    WriteBytes(scratch / "top/b.txt", PatternBytes(64));
    TMainWin& w = OpenIn("top");
    UseSessionPassword();
    int events = 0;
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    DefaultCryptHooks().letEventsRun = [&] {
        if (++events == 2)
            w.Button1->click();
    };
    messages.Expect("Recurse subdirectoryes?", mrNo);
    messages.Expect("Do you really want to cancel process?", mrOk);
    messages.Expect("You have aborted processing \"a.bin\".");
    w.EncriptAll1Click();
    EXPECT_EQ(ReadBytes(scratch / "top/a.bin"), PatternBytes(3'000'000));
    EXPECT_EQ(ReadBytes(scratch / "top/b.txt"), PatternBytes(64));
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, LinksPipesAndUnreadableFoldersNeverLeadTheWalkAstray) {
    scratch.MakeFolder("top/sub");
    scratch.MakeFolder("top/locked");
    scratch.MakeFolder("outside");
    WriteBytes(scratch / "top/a.txt", PatternBytes(64));
    WriteBytes(scratch / "top/sub/b.txt", PatternBytes(64));
    WriteBytes(scratch / "top/locked/c.txt", PatternBytes(64));
    WriteBytes(scratch / "outside/secret.txt", PatternBytes(64));
    fs::create_directory_symlink(scratch / "top", scratch / "top/sub/loop");
    fs::create_directory_symlink(scratch / "outside", scratch / "top/out");
    fs::create_symlink(scratch / "outside/secret.txt", scratch / "top/link.txt");
    ASSERT_EQ(::mkfifo((scratch / "top/pipe").c_str(), 0600), 0);
    fs::permissions(scratch / "top/locked", fs::perms::none);
    // Root reads any folder; everyone else is kept out of this one.
    const bool lockedReadable = ::access((scratch / "top/locked").c_str(), R_OK | X_OK) == 0;
    TMainWin& w = OpenIn("top");
    UseSessionPassword();

    messages.Expect("Recurse subdirectoryes?", mrYes);
    w.EncriptAll1Click();
    fs::permissions(scratch / "top/locked", fs::perms::owner_all);
    EXPECT_TRUE(fs::exists(scratch / "top/a.txt.cry"));
    EXPECT_TRUE(fs::exists(scratch / "top/sub/b.txt.cry"));
    EXPECT_EQ(fs::exists(scratch / "top/locked/c.txt.cry"), lockedReadable);
    EXPECT_EQ(ReadBytes(scratch / "outside/secret.txt"), PatternBytes(64));
    EXPECT_EQ(fs::directory_iterator(scratch / "outside")->path().filename(), "secret.txt");
    EXPECT_TRUE(fs::is_symlink(scratch / "top/link.txt"));
    EXPECT_FALSE(fs::exists(scratch / "top/link.txt.cry"));
    EXPECT_TRUE(fs::is_fifo(scratch / "top/pipe"));
    EXPECT_FALSE(fs::exists(scratch / "top/pipe.cry"));
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, SwappedFoldersMountsSharedFilesAndTemporariesAreLeftAlone) {
    scratch.MakeFolder("top/zz");
    scratch.MakeFolder("top/bound");
    scratch.MakeFolder("outside");
    scratch.MakeFolder("elsewhere");
    WriteBytes(scratch / "top/zz/x.txt", PatternBytes(64, 1));
    WriteBytes(scratch / "outside/x.txt", PatternBytes(64, 2));
    WriteBytes(scratch / "elsewhere/y.txt", PatternBytes(64, 3));
    // Digits sort before the bracketed folders, so these come first.
    WriteBytes(scratch / "top/0h", PatternBytes(64, 4));
    ASSERT_EQ(::link((scratch / "top/0h").c_str(), (scratch / "top/0i").c_str()), 0);
    const std::string temporary = "top/.g.cry.999999999.0123456789abcdef.kelvane-tmp";
    WriteBytes(scratch / temporary, PatternBytes(8));
    const std::string bound = scratch / "top/bound";
    const bool mounted =
        ::mount((scratch / "elsewhere").c_str(), bound.c_str(), nullptr, MS_BIND, nullptr) == 0;
    TMainWin& w = OpenIn("top");
    UseSessionPassword();

    messages.Expect("Recurse subdirectoryes?", mrYes);
    const std::string shared = "\" has 1 other name; its content would stay readable through it. "
                               "It is not encrypted.";
    // The walk has listed "top"; now "zz" becomes a link out of the tree.
    messages.Expect("File \"0h" + shared, [this] {
        fs::rename(scratch / "top/zz", scratch / "top/moved");
        fs::create_directory_symlink(scratch / "outside", scratch / "top/zz");
        return mrOk;
    });
    messages.Expect("File \"0i" + shared);
    if (mounted)
        messages.Expect("This folder is a mount point and was not entered:\r" + bound);
    w.EncriptAll1Click();
    if (mounted)
        ::umount(bound.c_str());
    else
        std::cout << "[ SKIPPED  ] the bind mount: no permission to mount here\n";
    EXPECT_EQ(ReadBytes(scratch / "outside/x.txt"), PatternBytes(64, 2));
    EXPECT_FALSE(fs::exists(scratch / "outside/x.txt.cry"));
    EXPECT_EQ(ReadBytes(scratch / "elsewhere/y.txt"), PatternBytes(64, 3));
    EXPECT_FALSE(fs::exists(scratch / "elsewhere/y.txt.cry"));
    EXPECT_EQ(ReadBytes(scratch / "top/0i"), PatternBytes(64, 4));
    EXPECT_FALSE(fs::exists(scratch / "top/0h.cry"));
    EXPECT_FALSE(fs::exists(scratch / temporary)) << "a dead run's temporary is removed";
    EXPECT_FALSE(fs::exists(scratch / (temporary + ".cry")));
    ExpectIdleAfterwards(w);

    // Two crypted files that become one plain file: the second never
    // replaces what the first became, though replacing was agreed to.
    fs::remove(scratch / "top/0i");
    ASSERT_TRUE(w.EncryptOneFile("0h"));
    fs::rename(scratch / "top/0h.cry", scratch / "top/a.CRY");
    WriteBytes(scratch / "top/second", PatternBytes(64, 5));
    ASSERT_TRUE(w.EncryptOneFile("second"));
    fs::rename(scratch / "top/second.cry", scratch / "top/a.cry");
    ShowCry = 1;
    w.RefreshLists();
    messages.Expect("Recurse subdirectoryes?", mrNo);
    messages.Expect("File \"a\" has just been made from another file. File \"a.cry\" is kept.");
    w.Decriptall1Click();
    EXPECT_EQ(ReadBytes(scratch / "top/a"), PatternBytes(64, 4));
    EXPECT_TRUE(fs::exists(scratch / "top/a.cry"));
}

TEST_F(TreeCommandsTest, AFolderWhosePathIsSwappedBetweenTwoOfItsFilesEndsTheWalk) {
    // Digits sort first: the message about "0h" comes before any other file.
    scratch.MakeFolder("top");
    WriteBytes(scratch / "top/0h", PatternBytes(64, 1));
    ASSERT_EQ(::link((scratch / "top/0h").c_str(), (scratch / "top/0i").c_str()), 0);
    WriteBytes(scratch / "top/a.txt", PatternBytes(64, 2));
    TMainWin& w = OpenIn("top");
    UseSessionPassword();
    messages.Expect("Recurse subdirectoryes?", mrNo);
    messages.Expect("File \"0h\" has 1 other name; its content would stay readable through it. "
                    "It is not encrypted.",
                    [this] {
                        fs::rename(scratch / "top", scratch / "moved");
                        scratch.MakeFolder("top");
                        WriteBytes(scratch / "top/b.txt", PatternBytes(64, 3));
                        return mrOk;
                    });
    w.EncriptAll1Click();
    EXPECT_FALSE(fs::exists(scratch / "moved/a.txt.cry"));
    EXPECT_FALSE(fs::exists(scratch / "top/b.txt.cry"));
    EXPECT_EQ(ReadBytes(scratch / "moved/a.txt"), PatternBytes(64, 2));
}

TEST_F(TreeCommandsTest, FilesTheWalkWroteAreNeverTakenAgainEvenWhenMovedAhead) {
    // The other program moves the new file as soon as it is there.
    WalkBatchLimits.files = 1;
    WalkCommits = CommitBatch::Where::Inline;
    scratch.MakeFolder("top/zsub");
    WriteBytes(scratch / "top/1.txt", PatternBytes(64, 1));
    WriteBytes(scratch / "top/zsub/real.txt", PatternBytes(64, 2));
    TMainWin& w = OpenIn("top");
    ExpectPrompt(&TPasswordPrompt::Proceed);
    messages.Expect("Recurse subdirectoryes?", mrYes);
    dialogs.Expect("Encryption procedure", [this, &w](TModalForm&) {
        Encrypt->MaskEdit1->setText("secret1");
        Encrypt->MaskEdit2->setText("secret1");
        Encrypt->Button2->click();
        // Another program moves the new crypted file into the folder the
        // walk has still to enter, under a plain name.
        QTimer::singleShot(0, &w, [this] {
            fs::rename(scratch / "top/1.txt.cry", scratch / "top/zsub/moved.txt");
        });
    });
    ExpectFileDialog(true);
    w.EncriptAll1Click();
    EXPECT_EQ(seen, std::vector<std::string>{"top/zsub/real.txt"});
    EXPECT_TRUE(fs::exists(scratch / "top/zsub/moved.txt"));
    // The list stays on the folder of the last file the walk looked at, and
    // the window's commands work there.
    EXPECT_EQ(w.DirectoryListBox1->Directory(), scratch / "top/zsub");

    // A file crypted twice comes out once: the ".cry" file the walk writes
    // is not in the listing it works from.
    UseSessionPassword();
    ASSERT_TRUE(w.EncryptOneFile("real.txt.cry"));
    messages.Expect("Recurse subdirectoryes?", mrNo);
    w.Decriptall1Click();
    EXPECT_TRUE(fs::exists(scratch / "top/zsub/real.txt.cry"));
    EXPECT_FALSE(fs::exists(scratch / "top/zsub/real.txt"));
    EXPECT_FALSE(fs::exists(scratch / "top/zsub/real.txt.cry.cry"));
}

// "n.cry.cry" becomes "n.cry" once "n.cry" has become "n": the first file's
// source is handled, though its removal waits for its batch, so nothing asks
// to overwrite it and nothing claims it changed.
TEST_F(TreeCommandsTest, ASourceWhoseRemovalWaitsForItsBatchIsNoFileToOverwrite) {
    WalkBatchLimits.wait = std::chrono::hours(1); // both files in one batch
    scratch.MakeFolder("top");
    WriteBytes(scratch / "top/n", PatternBytes(700, 1));
    WriteBytes(scratch / "top/x", PatternBytes(900, 2));
    TMainWin& w = OpenIn("top");
    UseSessionPassword();
    ASSERT_TRUE(w.EncryptOneFile("n"));
    ASSERT_TRUE(w.EncryptOneFile("x"));
    fs::rename(scratch / "top/x.cry", scratch / "top/n.cry.cry");
    w.RefreshLists();

    messages.Expect("Recurse subdirectoryes?", mrNo);
    w.Decriptall1Click();
    EXPECT_EQ(ReadBytes(scratch / "top/n"), PatternBytes(700, 1));
    EXPECT_EQ(ReadBytes(scratch / "top/n.cry"), PatternBytes(900, 2));
    EXPECT_FALSE(fs::exists(scratch / "top/n.cry.cry"));
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, StartingFolderRemovedTellsTheUserAndClearsTheFlags) {
    scratch.MakeFolder("gone");
    TMainWin& w = OpenIn("gone");
    fs::current_path(scratch.Path());
    fs::remove(scratch / "gone");
    UseSessionPassword();
    messages.Expect("Recurse subdirectoryes?", mrYes);
    messages.Expect("Couldn't read the folder \"" + (scratch / "gone") +
                    "\": No such file or directory. No file was encrypted or decrypted.");
    w.EncriptAll1Click();
    EXPECT_EQ(messages.Shown().back().kind, MessageKind::Error);
    ExpectIdleAfterwards(w);
}

TEST_F(TreeCommandsTest, RefusedWhileBusyAndRecursionCancelEndsThroughTheCleanUp) {
    scratch.MakeFolder("top");
    WriteBytes(scratch / "top/a.txt", PatternBytes(10));
    TMainWin& w = OpenIn("top");
    DeleteBusy = true;
    w.EncriptAll1Click();
    EXPECT_EQ(w.Status_Label->text(), "Wait till process is finished.");
    DeleteBusy = false;

    WriteBytes(scratch / "top/later.txt", PatternBytes(10));
    ExpectPrompt(&TPasswordPrompt::Proceed);
    messages.Expect("Recurse subdirectoryes?", mrCancel);
    CancelRequested = true;
    w.EncriptAll1Click();
    EXPECT_FALSE(CancelRequested);
    EXPECT_FALSE(TreeBusy);
    EXPECT_EQ(w.StringGrid1->Cells(0, 2), "later.txt"); // refreshed
    EXPECT_TRUE(fs::exists(scratch / "top/a.txt"));
}

TEST_F(TreeCommandsTest, PromptOffersItsThreeAnswers) {
    TPasswordPrompt& p = *PasswordPrompt;
    EXPECT_EQ(p.windowTitle(), "Confirmation");
    EXPECT_EQ(p.Label1->text(), "You will be prompted to assign a password for any found file.");
    // The mnemonic only underlines a letter of the text.
    EXPECT_EQ(p.Change->text().remove('&'), "Change password \"expire\" option");
    const std::pair<QPushButton*, int> buttons[] = {
        {p.Proceed, mrOk}, {p.Cancel, mrCancel}, {p.Change, mrYes}};
    for (auto [button, result] : buttons) {
        dialogs.Expect("Confirmation", [button](TModalForm&) { button->click(); });
        EXPECT_EQ(p.ShowModal(), result) << button->text().toStdString();
    }
    EXPECT_FALSE(p.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(p.minimumSize(), p.maximumSize());
}

} // namespace
} // namespace kelvane
