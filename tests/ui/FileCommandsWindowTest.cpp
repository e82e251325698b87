// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypting and decrypting from the window: double-clicks, the password
// dialogs, the progress panel and "Cancel process", "&Options...".
#include "WindowFixture.h"
#include "commands/FileCommands.h"
#include "commands/PasswordPolicy.h"
#include "support/MemoryScan.h"
#include "support/TempDir.h"
#include "ui/Controls.h"
#include "ui/DecryptDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/StringGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace kelvane {
namespace {

using testing_support::PatternBytes;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

// The real file system, counting what the engine's threads read and write.
class CountingFiles : public FileAccess {
public:
    std::atomic<int64_t> bytesRead{0};
    std::atomic<int64_t> bytesWritten{0};

    std::unique_ptr<SourceFile> OpenSource(const std::string& path) override {
        auto inner = SystemFiles().OpenSource(path);
        return inner ? std::make_unique<Source>(*this, std::move(inner)) : nullptr;
    }
    std::unique_ptr<DestinationFile> CreateDestination(const std::string& path,
                                                       unsigned permissions) override {
        auto inner = SystemFiles().CreateDestination(path, permissions);
        return inner ? std::make_unique<Destination>(*this, std::move(inner)) : nullptr;
    }
    bool SameFile(const std::string& a, const std::string& b) override {
        return SystemFiles().SameFile(a, b);
    }

private:
    class Source : public SourceFile {
    public:
        Source(CountingFiles& owner, std::unique_ptr<SourceFile> inner)
            : owner_(owner), inner_(std::move(inner)) {}
        bool Size(int64_t& size) override { return inner_->Size(size); }
        int64_t Read(void* buffer, std::size_t count) override {
            const int64_t got = inner_->Read(buffer, count);
            owner_.bytesRead += std::max<int64_t>(got, 0);
            return got;
        }
        unsigned PermissionBits() override { return inner_->PermissionBits(); }
        FileIdentity OpenedAs() override { return inner_->OpenedAs(); }

    private:
        CountingFiles& owner_;
        std::unique_ptr<SourceFile> inner_;
    };
    class Destination : public DestinationFile {
    public:
        Destination(CountingFiles& owner, std::unique_ptr<DestinationFile> inner)
            : owner_(owner), inner_(std::move(inner)) {}
        bool Write(const void* data, std::size_t count) override {
            owner_.bytesWritten += static_cast<int64_t>(count);
            return inner_->Write(data, count);
        }
        bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
            owner_.bytesWritten += static_cast<int64_t>(count);
            return inner_->WriteAt(offset, data, count);
        }
        CommitOutcome Commit(Existing existing) override { return inner_->Commit(existing); }

    private:
        CountingFiles& owner_;
        std::unique_ptr<DestinationFile> inner_;
    };
};

class FileCommandsWindowTest : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Encrypt = new TEncrypt;
        Decrypt = new TDecrypt;
        Preferences = new TPreferences;
    }
    void TearDown() override {
        delete Preferences;
        delete Decrypt;
        delete Encrypt;
        Preferences = nullptr;
        Decrypt = nullptr;
        Encrypt = nullptr;
        WindowTest::TearDown();
    }

    TMainWin& OpenWith(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteBytes(scratch / name, bytes);
        TMainWin& w = Open();
        ShowSized(640, 480);
        w.RefreshLists();
        return w;
    }

    // Double-clicks the grid's row the way a user does.
    static void DoubleClickRow(TStringGrid& grid, int row) {
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    }

    void ExpectEncryptDialog(const QString& password) {
        dialogs.Expect("Encryption procedure", [password](TModalForm&) {
            Encrypt->MaskEdit1->setText(password);
            Encrypt->MaskEdit2->setText(password);
            Encrypt->Button2->click();
        });
    }
    void ExpectDecryptDialog(const QString& password) {
        dialogs.Expect("Decryption procedure", [password](TModalForm&) {
            Decrypt->MaskEdit1->setText(password);
            Decrypt->Button2->click();
        });
    }
};

TEST_F(FileCommandsWindowTest, DoubleClicksMoveAFileToTheCryptedListAndBackByteForByte) {
    const auto original = PatternBytes(50000);
    TMainWin& w = OpenWith("plan.txt", original);
    ExpectEncryptDialog("secret1");
    DoubleClickRow(*w.StringGrid1, 1);
    EXPECT_EQ(Encrypt->FName_Label->text().toStdString(),
              w.DirLabel->text().toStdString() + "/plan.txt");
    EXPECT_FALSE(Encrypt->CheckBox1->isEnabled());
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "plan.txt");
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "[no files]");
    EXPECT_TRUE(DoubleClicked);
    EXPECT_EQ(w.Status_Label->text(), "Idle");

    ExpectDecryptDialog("secret1");
    DoubleClickRow(*w.StringGrid2, 1);
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "plan.txt");
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "[no files]");
    EXPECT_EQ(ReadBytes(scratch / "plan.txt"), original);
    EXPECT_FALSE(std::filesystem::exists(scratch / "plan.txt.cry"));
}

TEST_F(FileCommandsWindowTest, ProgressPanelShowsWhileTheFileRunsAndGoesAfterwards) {
    TMainWin& w = OpenWith("big.bin", PatternBytes(2'000'000));
    const int height1 = w.StringGrid1->height();
    const int height2 = w.StringGrid2->height();
    bool seen = false;
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    DefaultCryptHooks().letEventsRun = [&] {
        if (seen)
            return;
        seen = true;
        EXPECT_EQ(w.StringGrid1->height(), height1 - 13);
        EXPECT_EQ(w.StringGrid2->height(), height2 - 13);
        EXPECT_TRUE(w.Button1->isVisibleTo(&w));
        EXPECT_TRUE(w.ProgressBar1->isVisibleTo(&w));
        EXPECT_TRUE(w.ProgressBar2->isVisibleTo(&w));
        EXPECT_EQ(w.Status_Label->text(), "Encrypting file big.bin...");
        EXPECT_TRUE(w.Timer1->isActive());
        EXPECT_TRUE(EncryptBusy);
        // Anything else started meanwhile is refused.
        w.StringGrid1DblClick();
        EXPECT_EQ(w.Status_Label->text(), "Wait till process is finished.");
    };
    ExpectEncryptDialog("secret1");
    EXPECT_TRUE(w.EncryptOneFile("big.bin"));
    EXPECT_TRUE(seen);
    EXPECT_EQ(w.StringGrid1->height(), height1);
    EXPECT_EQ(w.StringGrid2->height(), height2);
    EXPECT_FALSE(w.Button1->isVisibleTo(&w));
    EXPECT_FALSE(w.ProgressBar1->isVisibleTo(&w));
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_EQ(w.Status_Label->text(), "Idle");
}

TEST_F(FileCommandsWindowTest, CancelProcessStopsALargeFileAndLosesNothing) {
    const auto original = PatternBytes(3'000'000);
    TMainWin& w = OpenWith("big.bin", original);
    int events = 0;
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    DefaultCryptHooks().letEventsRun = [&] {
        if (++events == 2)
            w.Button1->click();
    };
    ExpectEncryptDialog("secret1");
    messages.Expect("Do you really want to cancel process?", mrOk);
    messages.Expect("You have aborted processing \"big.bin\".");
    w.StringGrid1DblClick();
    EXPECT_EQ(ReadBytes(scratch / "big.bin"), original);
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "[no files]");
    EXPECT_FALSE(CancelRequested);
    EXPECT_EQ(w.Status_Label->text(), "Idle");
}

// The "[no files]" row goes to the commands like any row; they find no such
// file and say so, as Encrypt and Decrypt on that row do.
TEST_F(FileCommandsWindowTest, DoubleClickOnAnEmptyListSaysThereIsNoSuchFile) {
    TMainWin& w = Open();
    w.RefreshLists();
    const std::string notFound =
        "File \"[no files]\" is fisically not found in the current directory";
    messages.Expect(notFound).Expect(notFound);
    w.StringGrid1DblClick();
    w.StringGrid2DblClick();
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_TRUE(DoubleClicked);
}

TEST_F(FileCommandsWindowTest, SessionPasswordSwitchesThePasswordTimerAndAgesByItsTicks) {
    TMainWin& w = OpenWith("a.txt", PatternBytes(100));
    OnePassword = 1;
    Expire = 1;
    ExpectEncryptDialog("secret1");
    w.StringGrid1DblClick();
    EXPECT_TRUE(w.PwdTimer->isActive());
    for (int i = 0; i < 60; ++i)
        w.PwdTimerTimer();
    w.StringGrid2DblClick(); // reused: no dialog
    EXPECT_TRUE(std::filesystem::exists(scratch / "a.txt"));
    w.PwdTimerTimer();
    ExpectEncryptDialog("secret2");
    w.StringGrid1DblClick();
    EXPECT_EQ(dialogs.Shown().size(), 2u);

    OnePassword = 0;
    ExpectDecryptDialog("secret2");
    w.StringGrid2DblClick();
    EXPECT_FALSE(w.PwdTimer->isActive());
}

// "Qz7#Wk4!", every byte xored with the mask: the test never holds the
// password whole in writable memory, where the search would find it.
constexpr uint8_t kMask = 0x5A;
constexpr testing_support::MaskedSecret<8> kSecret{kMask,
                                                   {'Q' ^ kMask, 'z' ^ kMask, '7' ^ kMask,
                                                    '#' ^ kMask, 'W' ^ kMask, 'k' ^ kMask,
                                                    '4' ^ kMask, '!' ^ kMask}};

// The same as the window's fields hold it, in UTF-16.
constexpr testing_support::MaskedSecret<16> WideSecret() {
    testing_support::MaskedSecret<16> wide{kMask, {}};
    for (std::size_t i = 0; i < kSecret.masked.size(); ++i) {
        wide.masked[2 * i] = kSecret.masked[i];
        wide.masked[2 * i + 1] = kMask; // a zero byte
    }
    return wide;
}

bool NoCopyLeft() {
    return testing_support::FindSecret(kSecret).empty() &&
           testing_support::FindSecret(WideSecret()).empty();
}

// The password as the keyboard gives it, one character at a time.
QString TypedSecret() {
    QString typed;
    typed.reserve(static_cast<qsizetype>(kSecret.masked.size()));
    for (const uint8_t masked : kSecret.masked)
        typed.append(QChar(static_cast<char16_t>(masked ^ kMask)));
    return typed;
}

// A memory dump taken once a file is done, or once the session password has
// expired, finds no copy of the password: a password for every file lasts
// as long as its file, a session's until the tick that ends its time.
TEST_F(FileCommandsWindowTest, NoCopyOfThePasswordOutlivesItsFileOrItsExpiry) {
    TMainWin& w = OpenWith("a.txt", PatternBytes(5000));
    ExpectEncryptDialog(TypedSecret());
    w.StringGrid1DblClick();
    ASSERT_TRUE(std::filesystem::exists(scratch / "a.txt.cry"));
    EXPECT_TRUE(NoCopyLeft()) << "after its one file";

    OnePassword = 1;
    Expire = 1;
    ExpectDecryptDialog(TypedSecret());
    w.StringGrid2DblClick();
    ASSERT_TRUE(std::filesystem::exists(scratch / "a.txt"));
    // Kept for the session, and the search finds it there.
    EXPECT_FALSE(testing_support::FindSecret(kSecret).empty());
    for (int i = 0; i < 60; ++i)
        w.PwdTimerTimer();
    EXPECT_FALSE(RememberedPassword.empty());
    w.PwdTimerTimer();
    EXPECT_TRUE(NoCopyLeft()) << "after its expiry";
    EXPECT_EQ(dialogs.Shown().size(), 2u);
}

TEST_F(FileCommandsWindowTest, OptionsChangesShowCryAndTheListsFollowAtOnce) {
    WriteBytes(scratch / "a.txt.cry", PatternBytes(30));
    TMainWin& w = Open();
    w.RefreshLists();
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "a.txt");
    dialogs.Expect("Preferences", [](TModalForm&) {
        Preferences->ShowCry_CheckBox->setChecked(true);
        Preferences->Button1->click();
    });
    w.Options2->trigger();
    EXPECT_EQ(ShowCry, 1);
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "a.txt.cry");
}

// The same password typed in the window and read by kelvane-cli from a UTF-8
// file is the same key, accented letters included.
TEST_F(FileCommandsWindowTest, FilesCryptedHereOpenWithKelvaneCliAndTheReverse) {
    const auto original = PatternBytes(20000);
    TMainWin& w = OpenWith("shared.dat", original);
    std::ofstream(scratch / "pw.txt") << "Caf\xc3\xa9 42\n";
    const auto runCli = [](const std::string& command, const std::string& suffix) {
        const std::string line =
            std::string(KELVANE_CLI_PATH) + " " + command + " -q -p pw.txt shared.dat" + suffix;
        return std::system(line.c_str());
    };

    ExpectEncryptDialog(QString::fromUtf8("Caf\xc3\xa9 42"));
    EXPECT_TRUE(w.EncryptOneFile("shared.dat"));
    ASSERT_EQ(runCli("decrypt", ".cry"), 0);
    EXPECT_EQ(ReadBytes(scratch / "shared.dat"), original);

    ASSERT_EQ(runCli("encrypt", ""), 0);
    w.RefreshLists();
    ExpectDecryptDialog(QString::fromUtf8("Caf\xc3\xa9 42"));
    EXPECT_TRUE(w.DecryptOneFile("shared.dat"));
    EXPECT_EQ(ReadBytes(scratch / "shared.dat"), original);
    EXPECT_FALSE(std::filesystem::exists(scratch / "shared.dat.cry"));
}

// The list shows "cap" for "cap.CRY"; both ways of decrypting it reach the
// file as the directory spells it.
TEST_F(FileCommandsWindowTest, CapitalCryShownWithoutItsExtensionDecrypts) {
    const auto original = PatternBytes(5000);
    TMainWin& w = OpenWith("cap", original);
    ExpectEncryptDialog("secret1");
    ASSERT_TRUE(w.EncryptOneFile("cap"));
    std::filesystem::rename(scratch / "cap.cry", scratch / "cap.CRY");
    w.RefreshLists();
    ASSERT_EQ(w.StringGrid2->Cells(0, 1), "cap");

    ExpectDecryptDialog("secret1");
    DoubleClickRow(*w.StringGrid2, 1);
    EXPECT_EQ(ReadBytes(scratch / "cap"), original);
    EXPECT_FALSE(std::filesystem::exists(scratch / "cap.CRY"));

    ExpectEncryptDialog("secret1");
    ASSERT_TRUE(w.EncryptOneFile("cap"));
    std::filesystem::rename(scratch / "cap.cry", scratch / "cap.CRY");
    w.RefreshLists();
    ExpectDecryptDialog("secret1");
    EXPECT_TRUE(w.DecryptOneFile("cap"));
    EXPECT_EQ(ReadBytes(scratch / "cap"), original);
}

// "Notes" and "notes.cry" are two files here: encrypting "Notes" makes a
// third without asking about either.
TEST_F(FileCommandsWindowTest, NoOverwriteQuestionForANameDifferingInCase) {
    WriteBytes(scratch / "notes.cry", PatternBytes(40));
    TMainWin& w = OpenWith("Notes", PatternBytes(300));
    ExpectEncryptDialog("secret1");
    DoubleClickRow(*w.StringGrid1, 1);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_TRUE(std::filesystem::exists(scratch / "Notes.cry"));
    EXPECT_EQ(ReadBytes(scratch / "notes.cry"), PatternBytes(40));
}

// While "Do you really want to cancel process?" is open the run holds still:
// the question stays open well past the time the whole file takes, and
// nothing is read, written or reported meanwhile. Cancel lets it go on from
// the same byte.
TEST_F(FileCommandsWindowTest, TheCancelQuestionPausesTheRunAndCancelResumesIt) {
    const auto original = PatternBytes(24'000'000);
    TMainWin& w = OpenWith("big.bin", original);
    ProgressCounter fill, drain;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(EncryptFile(scratch / "big.bin", scratch / "timed.cry", "secret1", fill, drain),
              crOk);
    const auto wholeFile = std::chrono::steady_clock::now() - started;
    std::filesystem::remove(scratch / "timed.cry");

    CountingFiles files;
    DefaultCryptHooks().files = &files;
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    int reports = 0;
    DefaultCryptHooks().letEventsRun = [&] {
        if (++reports == 3)
            w.Button1->click();
    };
    int turns = 0;
    messages.Expect("Do you really want to cancel process?", [&] {
        EXPECT_TRUE(RunPause().Paused());
        const int64_t read = files.bytesRead;
        const int64_t written = files.bytesWritten;
        const int tag1 = w.ProgressBar1->Tag();
        const int tag2 = w.ProgressBar2->Tag();
        EXPECT_LT(read, static_cast<int64_t>(original.size()));
        const auto open = std::chrono::steady_clock::now();
        while (turns < 2000 || std::chrono::steady_clock::now() - open < 2 * wholeFile) {
            QApplication::processEvents();
            std::this_thread::yield();
            ++turns;
        }
        EXPECT_EQ(files.bytesRead, read);
        EXPECT_EQ(files.bytesWritten, written);
        EXPECT_EQ(w.ProgressBar1->Tag(), tag1);
        EXPECT_EQ(w.ProgressBar2->Tag(), tag2);
        return mrCancel;
    });
    ExpectEncryptDialog("secret1");
    EXPECT_TRUE(w.EncryptOneFile("big.bin"));
    EXPECT_GE(turns, 2000);
    EXPECT_FALSE(RunPause().Paused());
    EXPECT_EQ(files.bytesRead, static_cast<int64_t>(original.size()));

    DefaultCryptHooks() = CryptHooks{};
    ASSERT_EQ(DecryptFile(scratch / "big.bin.cry", scratch / "back.bin", "secret1", fill, drain),
              crOk);
    EXPECT_EQ(ReadBytes(scratch / "back.bin"), original);
}

} // namespace
} // namespace kelvane
