// SPDX-License-Identifier: GPL-3.0-or-later
// The actions of a program started with parameters, run by the window as
// its first activation runs them: every row of the parameter table, the
// working directory entered and restored, the window closed afterwards.
#include "commands/CommandLine.h"

#include "ShellDesktop.h"
#include "WindowFixture.h"
#include "commands/Settings.h"
#include "commands/ShellCommands.h"
#include "engine/CryptFile.h"
#include "platform/Paths.h"
#include "ui/AgePassphraseDialog.h"
#include "ui/DecryptDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/StringGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvane {
namespace {

using testing_support::ShellDesktop;

class CommandLineTest : public testing_support::WindowTest {
protected:
    void SetUp() override {
        ShellDesktop::Get().Reset("exit");
        WindowTest::SetUp();
        Encrypt = new TEncrypt;
        Decrypt = new TDecrypt;
        DefaultShellHooks().waitBetweenPasses = [] {
            for (const OpenFileSlot& slot : OpenFiles) {
                if (slot.InUse) {
                    ASSERT_TRUE(ShellDesktop::WaitEnded(slot.Process));
                }
            }
            QApplication::processEvents();
        };
        QApplication::setQuitOnLastWindowClosed(false);
        scratch.MakeFolder("dir");
    }
    void TearDown() override {
        delete Decrypt;
        delete Encrypt;
        Decrypt = nullptr;
        Encrypt = nullptr;
        WindowTest::TearDown();
    }

    TMainWin& Started(int32_t showCry = 0) {
        TMainWin& w = Open(showCry);
        ShowSized(640, 480);
        return w;
    }

    void MakeCrypted(const std::string& path, const std::string& text) {
        testing_support::WriteFile(path + ".source", text);
        ProgressCounter fill, drain;
        ASSERT_EQ(EncryptFile(path + ".source", path, "secret1", fill, drain), crOk);
        std::filesystem::remove(path + ".source");
    }

    void ExpectDecryptDialog() {
        dialogs.Expect("Decryption procedure", [](TModalForm&) {
            Decrypt->MaskEdit1->setText("secret1");
            Decrypt->Button2->click();
        });
    }
    void ExpectEncryptDialog() {
        dialogs.Expect("Encryption procedure", [](TModalForm&) {
            Encrypt->MaskEdit1->setText("secret1");
            Encrypt->MaskEdit2->setText("secret1");
            Encrypt->Button2->click();
        });
    }

    std::string Cwd() const { return std::filesystem::current_path().string(); }
};

TEST_F(CommandLineTest, OnePathEncryptsAPlainFileOrDecryptsACryptedOneAndTheWindowCloses) {
    testing_support::WriteFile(scratch / "dir/letter.txt", "dear bank");
    MakeCrypted(scratch / "dir/old.txt.cry", "old news");
    TMainWin& w = Started();
    ExpectEncryptDialog();
    w.RunCommandLine({scratch / "dir/letter.txt"});
    EXPECT_TRUE(std::filesystem::exists(scratch / "dir/letter.txt.cry"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "dir/letter.txt"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Cwd(), scratch.Path());

    TMainWin& again = Started();
    ExpectDecryptDialog();
    again.RunCommandLine({scratch / "dir/old.txt.cry"});
    EXPECT_EQ(testing_support::ReadFile(scratch / "dir/old.txt"), "old news");
    EXPECT_FALSE(again.isVisible());
}

TEST_F(CommandLineTest, ARunOfFilesFromTwoFoldersAsksOncePerKindAndTheWindowCloses) {
    scratch.MakeFolder("other");
    for (const char* name : {"dir/a.txt", "dir/b.txt", "other/c.txt"})
        testing_support::WriteFile(scratch / name, name);
    MakeCrypted(scratch / "dir/x.txt.cry", "ex");
    MakeCrypted(scratch / "other/y.txt.cry", "why");
    TMainWin& w = Started();
    OnePerList = 1;
    ExpectEncryptDialog();
    ExpectDecryptDialog();
    w.RunCommandLine({"--run", scratch / "dir/a.txt", scratch / "dir/x.txt.cry", "other/c.txt",
                      scratch / "other/y.txt.cry", scratch / "dir/b.txt"});
    for (const char* name : {"dir/a.txt.cry", "dir/b.txt.cry", "other/c.txt.cry"})
        EXPECT_TRUE(std::filesystem::exists(scratch / name)) << name;
    EXPECT_EQ(testing_support::ReadFile(scratch / "dir/x.txt"), "ex");
    EXPECT_EQ(testing_support::ReadFile(scratch / "other/y.txt"), "why");
    EXPECT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Cwd(), scratch.Path());
    // The next single file asks again.
    EXPECT_FALSE(Encrypt->CheckBox1->isChecked());
}

TEST_F(CommandLineTest, ListsToOpenAndToConvertRunInOneWindow) {
    scratch.MakeFolder("other");
    MakeCrypted(scratch / "dir/p.kvtest.cry", "pea");
    MakeCrypted(scratch / "other/q.kvtest.cry", "queue");
    TMainWin& w = Started();
    // A session password: only the passphrase is left to ask.
    OnePassword = 1;
    HavePassword = true;
    RememberedPassword = "secret1";
    w.RunCommandLine({"--open", scratch / "dir/p.kvtest.cry", scratch / "other/q.kvtest.cry"});
    EXPECT_EQ(ShellDesktop::Get().Seen("p.kvtest"), "pea");
    EXPECT_EQ(ShellDesktop::Get().Seen("q.kvtest"), "queue");
    EXPECT_TRUE(std::filesystem::exists(scratch / "dir/p.kvtest.cry"));
    EXPECT_TRUE(std::filesystem::exists(scratch / "other/q.kvtest.cry"));
    EXPECT_EQ(OpenCount, 0);
    EXPECT_FALSE(w.isVisible());

    TMainWin& again = Started();
    OnePassword = 1;
    HavePassword = true;
    RememberedPassword = "secret1";
    dialogs.Expect("Convert to age", [](TModalForm& form) {
        auto& dialog = static_cast<TAgePassphrase&>(form);
        dialog.Edit1->setText("correct horse");
        dialog.Edit2->setText("correct horse");
        dialog.OK->click();
    });
    again.RunCommandLine(
        {"--convert", scratch / "dir/p.kvtest.cry", scratch / "other/q.kvtest.cry"});
    for (const char* name : {"dir/p.kvtest", "other/q.kvtest"}) {
        EXPECT_TRUE(std::filesystem::exists(scratch / (std::string(name) + ".age"))) << name;
        EXPECT_FALSE(std::filesystem::exists(scratch / (std::string(name) + ".cry"))) << name;
    }
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_FALSE(again.isVisible());
}

TEST_F(CommandLineTest, DecryptSwitchInMixedCaseWithARelativePathAndShowCryOn) {
    MakeCrypted(scratch / "dir/a.txt.cry", "alpha");
    TMainWin& w = Started(1);
    ExpectDecryptDialog();
    w.RunCommandLine({"/DeCrYpT", "dir/a.txt.cry"});
    EXPECT_EQ(testing_support::ReadFile(scratch / "dir/a.txt"), "alpha");
    EXPECT_FALSE(std::filesystem::exists(scratch / "dir/a.txt.cry"));
    EXPECT_EQ(Cwd(), scratch.Path());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(CommandLineTest, OpenSwitchDecryptsLaunchesAndEncryptsAgainBeforeTheEnd) {
    MakeCrypted(scratch / "dir/plan.kvtest.cry", "the plan");
    TMainWin& w = Started();
    ExpectDecryptDialog();
    ExpectEncryptDialog(); // no session password: the user assigns one again
    w.RunCommandLine({"/OPEN", scratch / "dir/plan.kvtest.cry"});
    EXPECT_EQ(ShellDesktop::Get().Seen("plan.kvtest"), "the plan");
    EXPECT_FALSE(std::filesystem::exists(scratch / "dir/plan.kvtest"));
    EXPECT_TRUE(std::filesystem::exists(scratch / "dir/plan.kvtest.cry"));
    EXPECT_EQ(OpenCount, 0);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(CommandLineTest, PrintSwitchSpoolsThePlainFile) {
    MakeCrypted(scratch / "dir/bill.txt.cry", "pay");
    TMainWin& w = Started();
    ExpectDecryptDialog();
    ExpectEncryptDialog();
    w.RunCommandLine({"/print", scratch / "dir/bill.txt.cry"});
    EXPECT_EQ(ShellDesktop::Get().Calls(), "lp " + (scratch / "dir/bill.txt") + "\n");
    EXPECT_EQ(ShellDesktop::Get().Seen("bill.txt"), "pay");
    EXPECT_TRUE(std::filesystem::exists(scratch / "dir/bill.txt.cry"));
    EXPECT_FALSE(w.isVisible());
}

// The command line's forms of names the list would not show as given: ".CRY"
// in capitals with ShowCry off is the file of that name, and a /decrypt
// without ".cry" goes through the password to the engine's refusal.
TEST_F(CommandLineTest, NamesAreTheFilesOnDiskWhateverTheirExtension) {
    MakeCrypted(scratch / "dir/CAP.CRY", "capitals");
    TMainWin& w = Started();
    ExpectDecryptDialog();
    w.RunCommandLine({scratch / "dir/CAP.CRY"});
    EXPECT_EQ(testing_support::ReadFile(scratch / "dir/CAP"), "capitals");
    EXPECT_FALSE(std::filesystem::exists(scratch / "dir/CAP.CRY"));

    for (const int32_t showCry : {0, 1}) {
        testing_support::WriteFile(scratch / "dir/plain.txt", "not crypted");
        TMainWin& again = Started(showCry);
        ExpectDecryptDialog();
        messages.Expect("Cannot identify a file \"" + (scratch / "dir/plain.txt") +
                        "\" as a valid crypted file");
        again.RunCommandLine({"/decrypt", scratch / "dir/plain.txt"});
        EXPECT_EQ(testing_support::ReadFile(scratch / "dir/plain.txt"), "not crypted");
        EXPECT_FALSE(std::filesystem::exists(scratch / "dir/plain"));
    }
}

// With ShowCry off a path without ".cry" is the crypted file's name as the
// list shows it: each switch finds the file with ".cry" added.
TEST_F(CommandLineTest, SwitchesTakeAPathWithoutCryAsTheCryptedListShowsIt) {
    for (const char* option : {"/decrypt", "/open", "/print"}) {
        SCOPED_TRACE(option);
        const std::string plain = scratch / ("dir/letter" + std::string(option + 1) + ".kvtest");
        MakeCrypted(plain + ".cry", "dear bank");
        TMainWin& w = Started();
        ExpectDecryptDialog();
        if (std::string(option) != "/decrypt")
            ExpectEncryptDialog();
        w.RunCommandLine({option, plain});
        if (std::string(option) == "/decrypt") {
            EXPECT_EQ(testing_support::ReadFile(plain), "dear bank");
            EXPECT_FALSE(std::filesystem::exists(plain + ".cry"));
        } else {
            EXPECT_EQ(ShellDesktop::Get().Seen(NamePart(plain)), "dear bank");
            EXPECT_TRUE(std::filesystem::exists(plain + ".cry"));
            EXPECT_FALSE(std::filesystem::exists(plain));
        }
        EXPECT_FALSE(w.isVisible());
    }
}

// An application that can't be started leaves nothing readable behind: the
// file is encrypted again before the program ends.
TEST_F(CommandLineTest, OpenWithABrokenApplicationLeavesTheCryptedFileOnly) {
    MakeCrypted(scratch / "dir/x.kvbroken.cry", "secret");
    TMainWin& w = Started();
    ExpectDecryptDialog();
    messages.Expect("Couldn't shell the respective application for the file " +
                    (scratch / "dir/x.kvbroken") + ".");
    w.RunCommandLine({"/open", scratch / "dir/x.kvbroken.cry"});
    EXPECT_TRUE(std::filesystem::exists(scratch / "dir/x.kvbroken.cry"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "dir/x.kvbroken"));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(CommandLineTest, UnknownSwitchesAndThreeParametersDoNothingButEnd) {
    MakeCrypted(scratch / "dir/a.txt.cry", "alpha");
    for (const std::vector<std::string>& parameters :
         {std::vector<std::string>{"/shred", scratch / "dir/a.txt.cry"},
          std::vector<std::string>{"/open", scratch / "dir/a.txt.cry", "extra"}}) {
        TMainWin& w = Started();
        w.RunCommandLine(parameters);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(Cwd(), scratch.Path());
    }
    EXPECT_TRUE(std::filesystem::exists(scratch / "dir/a.txt.cry"));
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(CommandLineTest, BareNameIsAFileOfTheStartingDirectory) {
    testing_support::WriteFile(scratch / "todo.txt", "milk");
    TMainWin& w = Started();
    ExpectEncryptDialog();
    w.RunCommandLine({"todo.txt"});
    EXPECT_TRUE(std::filesystem::exists(scratch / "todo.txt.cry"));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(CommandLineTest, MissingDirectoryIsReportedAndTheWindowStaysOpen) {
    TMainWin& w = Started();
    messages.Expect(DirectoryErrorText(scratch / "gone/x.txt"));
    w.RunCommandLine({scratch / "gone/x.txt"});
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Cwd(), scratch.Path());
}

} // namespace
} // namespace kelvane
