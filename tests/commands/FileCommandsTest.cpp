// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandFixture.h"
#include "FakeHost.h"
#include "platform/FileAttributes.h"
#include "support/FaultyFiles.h"
#include "support/MemoryScan.h"
#include "support/ScriptedMessages.h"

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::FakeHost;
using testing_support::FindSecret;
using testing_support::PatternBytes;
using testing_support::ReadBytes;
using testing_support::ScriptedMessages;
using testing_support::WriteBytes;

mode_t ModeOf(const std::string& name) {
    struct stat st {};
    EXPECT_EQ(::stat(name.c_str(), &st), 0) << name;
    return st.st_mode & 07777;
}

bool Exists(const std::string& name) {
    return std::filesystem::exists(name);
}

class FileCommandsTest : public testing_support::CommandFixture {
protected:
    // Writes a file and lets the window's lists see it.
    std::vector<uint8_t> Make(const std::string& name, std::size_t size = 1000) {
        auto bytes = PatternBytes(size, static_cast<uint32_t>(name.size()));
        WriteBytes(name, bytes);
        host.RefreshLists();
        host.refreshes = 0;
        return bytes;
    }

    // Encrypts `name` with `password` through the command.
    void Crypt(const std::string& name, const std::string& password = "secret1") {
        host.encrypt.Answer(mrOk, password);
        ASSERT_TRUE(EncryptOneFile(host, name));
        host.refreshes = 0;
        host.log.clear();
    }

    FakeHost host;
    ScriptedMessages messages;
};

TEST_F(FileCommandsTest, EncryptThenDecryptGivesTheFileBackByteForByte) {
    const auto original = Make("report.doc", 100000);
    host.encrypt.Answer(mrOk, "Pa55 w0");
    EXPECT_TRUE(EncryptOneFile(host, "report.doc"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"report.doc.cry"});
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_EQ(host.encrypt.label, "/home/user/report.doc");
    // The destination's bar fills: the crypted list's bar for encryption.
    EXPECT_EQ(host.bar2.Position(), 100);
    EXPECT_EQ(host.bar1.Position(), 0);

    host.decrypt.Answer(mrOk, "Pa55 w0");
    EXPECT_TRUE(DecryptOneFile(host, "report.doc"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"report.doc"});
    EXPECT_EQ(ReadBytes("report.doc"), original);
    EXPECT_EQ(host.bar1.Position(), 100);
    EXPECT_EQ(host.bar2.Position(), 0);
}

// With a password asked for every file, a file's password is gone from
// memory when the file is done, whether the run succeeded or not; a session
// password stays for the next file.
TEST_F(FileCommandsTest, APasswordOutlivesItsFileOnlyAsTheSessionPassword) {
    Make("a.txt");
    host.encrypt.Answer(mrOk, "single1");
    const char* storage = nullptr;
    host.onPanelHidden = [&] { storage = RememberedPassword.data(); };
    EXPECT_TRUE(EncryptOneFile(host, "a.txt"));
    EXPECT_TRUE(RememberedPassword.empty());
    EXPECT_EQ(std::string(storage, 7), std::string(7, '\0'));

    host.decrypt.Answer(mrOk, "wrong12");
    messages.Expect("Invalid password for the file \"a.txt\"!");
    EXPECT_FALSE(DecryptOneFile(host, "a.txt"));
    EXPECT_TRUE(RememberedPassword.empty());

    OnePassword = 1;
    host.decrypt.Answer(mrOk, "single1");
    EXPECT_TRUE(DecryptOneFile(host, "a.txt"));
    EXPECT_EQ(RememberedPassword, "single1");
    EXPECT_TRUE(EncryptOneFile(host, "a.txt")) << "the session's password, not asked again";
    EXPECT_EQ(host.encrypt.showings, 1);
}

// No copy of a password typed into the window, nor of an age passphrase,
// outlives the commands that used them: the engine's keys, buffers and
// schedules are wiped as well as the remembered password.
TEST_F(FileCommandsTest, NoCopyOfAPasswordOrPassphraseOutlivesItsCommands) {
    using testing_support::kMaskedSecret;
    const auto typeSecret = [](SecretString& into, const std::string& around) {
        into.Text() = around;
        for (const uint8_t masked : kMaskedSecret.masked)
            into.Text().push_back(static_cast<char>(masked ^ kMaskedSecret.mask));
        into.Text() += around;
    };
    Make("a.txt", 300000);
    host.encrypt.Answer(mrOk);
    host.encrypt.typeSecretly = [&](SecretString& password) { typeSecret(password, ""); };
    ASSERT_TRUE(FindSecret(kMaskedSecret).empty()) << "the test itself left a copy";
    EXPECT_TRUE(EncryptOneFile(host, "a.txt"));
    {
        // Inside the passphrase, not at its start: a freed block's first
        // bytes are overwritten by the allocator, which would hide a copy.
        SecretString passphrase;
        typeSecret(passphrase, std::string(20, '-'));
        AgeTarget target;
        target.passphrase = &passphrase.Text();
        target.workFactor = 10;
        host.decrypt.Answer(mrOk);
        host.decrypt.typeSecretly = [&](SecretString& password) { typeSecret(password, ""); };
        EXPECT_TRUE(ConvertOneFile(host, "a.txt", "a.txt.cry", [&] { return &target; }));
    }
    const std::vector<uintptr_t> found = FindSecret(kMaskedSecret);
    EXPECT_TRUE(found.empty()) << found.size() << " copies, the first at 0x" << std::hex
                               << found.front();
}

// The source's removal reaches the disk before the command ends, and a
// disk that does not confirm it is said so: after a power cut the plain
// file would be back although the user saw it go.
TEST_F(FileCommandsTest, ARemovedSourceIsFlushedAndAnUnconfirmedRemovalIsSaid) {
    Make("a.txt");
    FlushFileSystemForTesting([](int) {
        errno = EIO;
        return false;
    });
    host.encrypt.Answer(mrOk, "secret1");
    messages.Expect("The disk did not confirm that the original files are gone (Input/output "
                    "error). After a power failure they may be there again.");
    EXPECT_TRUE(EncryptOneFile(host, "a.txt"));
    EXPECT_FALSE(std::filesystem::exists("a.txt"));
    EXPECT_TRUE(std::filesystem::exists("a.txt.cry"));
}

TEST_F(FileCommandsTest, ProgressPanelIsTakenDownInTheStatedOrderAfterSuccessAndFailure) {
    Make("a.txt");
    host.encrypt.Answer(mrOk, "secret1");
    EncryptOneFile(host, "a.txt");
    const std::vector<std::string> encryptRun = {
        "panel shown", "status Encrypting file a.txt...",
        "start",       "stop",
        "status Idle", "panel hidden",
        "clear",
    };
    EXPECT_EQ(host.log, encryptRun);
    EXPECT_FALSE(EncryptBusy);

    host.log.clear();
    ShowCry = 1;
    host.RefreshLists();
    host.refreshes = 0;
    host.decrypt.Answer(mrOk, "wrong12");
    messages.Expect("Invalid password for the file \"a.txt.cry\"!");
    EXPECT_FALSE(DecryptOneFile(host, "a.txt.cry"));
    const std::vector<std::string> decryptRun = {
        "panel shown", "status Decrypting file a.txt.cry...",
        "start",       "stop",
        "status Idle", "panel hidden",
        "clear",
    };
    EXPECT_EQ(host.log, decryptRun);
    EXPECT_FALSE(DecryptBusy);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.Shown()[0].caption, "Error");
    EXPECT_EQ(host.refreshes, 0);
}

TEST_F(FileCommandsTest, DecryptTakesTheNameAsTheCryptedListShowsIt) {
    for (int showCry : {0, 1}) {
        ShowCry = showCry;
        const auto original = Make("a.txt");
        Crypt("a.txt");
        host.decrypt.Answer(mrOk, "secret1");
        EXPECT_TRUE(DecryptOneFile(host, showCry ? "a.txt.cry" : "a.txt"));
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt"});
        EXPECT_EQ(ReadBytes("a.txt"), original);
        std::filesystem::remove("a.txt");
    }
}

TEST_F(FileCommandsTest, ExtensionInCapitalsIsCutOffWhateverItsCase) {
    ShowCry = 1;
    const auto original = Make("b.txt");
    Crypt("b.txt");
    std::filesystem::rename("b.txt.cry", "b.txt.CRY");
    host.RefreshLists();
    host.decrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(DecryptOneFile(host, "b.txt.CRY"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(ReadBytes("b.txt"), original);
}

TEST_F(FileCommandsTest, BusyRefusesWithTheStatusLineOnly) {
    Make("a.txt");
    Make("b.txt");
    Crypt("b.txt");
    for (bool* flag : {&EncryptBusy, &DecryptBusy, &TreeBusy, &DeleteBusy}) {
        *flag = true;
        host.status.clear();
        EXPECT_FALSE(EncryptOneFile(host, "a.txt"));
        EXPECT_EQ(host.status, "Wait till process is finished.");
        host.status.clear();
        EXPECT_FALSE(DecryptOneFile(host, "b.txt"));
        EXPECT_EQ(host.status, "Wait till process is finished.");
        *flag = false;
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "b.txt.cry"}));
    EXPECT_EQ(host.encrypt.showings + host.decrypt.showings, 1);
}

TEST_F(FileCommandsTest, MissingFilesAreNamedAsTheListShowsThem) {
    messages.Expect("File \"gone.txt\" is fisically not found in the current directory");
    EXPECT_FALSE(EncryptOneFile(host, "gone.txt"));
    messages.Expect("File \"gone.txt\" is fisically not found in the current directory");
    EXPECT_FALSE(DecryptOneFile(host, "gone.txt"));
    ShowCry = 1;
    messages.Expect("File \"gone.txt.cry\" is fisically not found in the current directory");
    EXPECT_FALSE(DecryptOneFile(host, "gone.txt.cry"));
    // A folder is not a file.
    std::filesystem::create_directory("folder");
    messages.Expect("File \"folder\" is fisically not found in the current directory");
    EXPECT_FALSE(EncryptOneFile(host, "folder"));
    EXPECT_EQ(messages.Shown()[0].kind, MessageKind::Error);
}

// What no answer could let end well is refused before the password is asked
// and before any byte is read: something that is no file in the new file's
// place, and a file too big for the format's length field.
TEST_F(FileCommandsTest, RunsThatCannotEndWellAreRefusedBeforeThePassword) {
    std::filesystem::create_directory("a.txt.cry");
    Make("a.txt");
    messages.Expect("Folder \"a.txt.cry\" is in the way of the crypted file. File \"a.txt\" is "
                    "not encrypted.");
    EXPECT_FALSE(EncryptOneFile(host, "a.txt"));

    Make("b.txt");
    Crypt("b.txt");
    std::filesystem::create_directory("b.txt");
    messages.Expect("Folder \"b.txt\" is in the way of the decrypted file. File \"b.txt\" is not "
                    "decrypted.");
    EXPECT_FALSE(DecryptOneFile(host, "b.txt"));

    ASSERT_EQ(::symlink("nowhere", "c.txt.cry"), 0);
    Make("c.txt");
    messages.Expect("\"c.txt.cry\" is in the way of the crypted file: it is no file. File "
                    "\"c.txt\" is not encrypted.");
    EXPECT_FALSE(EncryptOneFile(host, "c.txt"));

    // Sparse: 2 GiB of nothing on disk.
    WriteBytes("big.bin", {});
    ASSERT_EQ(::truncate("big.bin", int64_t{1} << 31), 0);
    messages.Expect("No memory.File \"big.bin\" is too big.");
    EXPECT_FALSE(EncryptOneFile(host, "big.bin"));
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(Exists("a.txt") && Exists("b.txt.cry") && Exists("c.txt") && Exists("big.bin"));
}

TEST_F(FileCommandsTest, CryptedNameMayHave255BytesButNotMore) {
    const std::string longest(251, 'n');
    Make(longest);
    Crypt(longest);
    EXPECT_TRUE(Exists(longest + ".cry"));

    const std::string tooLong(252, 'm');
    Make(tooLong);
    messages.Expect("Cannot generate crypted file \"" + tooLong + "\".\rFile name is too long.");
    EXPECT_FALSE(EncryptOneFile(host, tooLong));
    EXPECT_EQ(messages.Shown().back().kind, MessageKind::Information);
    ShowCry = 1;
    messages.Expect("Cannot generate crypted file \"" + tooLong +
                    ".cry\".\rFile name is too long.");
    EXPECT_FALSE(EncryptOneFile(host, tooLong));
    EXPECT_TRUE(Exists(tooLong));
}

TEST_F(FileCommandsTest, OverwriteOfACryptedTwinIsAskedUnderTheListedName) {
    Make("a.txt.cry", 77);
    const auto plain = Make("a.txt");
    messages.Expect("File \"a.txt\" already exist in the list of crypted files. Overwrite one?",
                    mrCancel);
    EXPECT_FALSE(EncryptOneFile(host, "a.txt"));
    EXPECT_EQ(ReadBytes("a.txt.cry").size(), 77u);
    EXPECT_EQ(messages.Shown().back().buttons, unsigned{mbOK | mbCancel});

    ShowCry = 1;
    host.RefreshLists();
    messages.Expect(
        "File \"a.txt.cry\" already exist in the list of crypted files. Overwrite one?");
    host.encrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(EncryptOneFile(host, "a.txt"));
    host.decrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(DecryptOneFile(host, "a.txt.cry"));
    EXPECT_EQ(ReadBytes("a.txt"), plain);
}

TEST_F(FileCommandsTest, OverwriteOfAPlainTwinIsAskedAndDecliningKeepsBoth) {
    Make("a.txt");
    Crypt("a.txt");
    const auto twin = Make("a.txt", 33);
    const auto crypted = ReadBytes("a.txt.cry");
    messages.Expect(
        "File \"a.txt\" is already exist in the file list for not encrypted files. Overwrite one?",
        mrCancel);
    EXPECT_FALSE(DecryptOneFile(host, "a.txt"));
    EXPECT_EQ(ReadBytes("a.txt"), twin);
    EXPECT_EQ(ReadBytes("a.txt.cry"), crypted);
}

TEST_F(FileCommandsTest, FilesMissingFromAnOldListAreStillNotReplacedUnasked) {
    // "a.cry.cry" decrypts to "a.cry", a crypted file the plain list never
    // holds; and a list read earlier doesn't know of files made since.
    Make("a.cry");
    Crypt("a.cry");
    Make("a.cry", 50);
    ShowCry = 1;
    host.RefreshLists();
    messages.Expect(
        "File \"a.cry\" is already exist in the file list for not encrypted files. Overwrite one?",
        mrCancel);
    EXPECT_FALSE(DecryptOneFile(host, "a.cry.cry"));
    EXPECT_EQ(ReadBytes("a.cry").size(), 50u);

    WriteBytes("late.txt", PatternBytes(10));
    WriteBytes("late.txt.cry", PatternBytes(20));
    messages.Expect(
        "File \"late.txt.cry\" already exist in the list of crypted files. Overwrite one?",
        mrCancel);
    EXPECT_FALSE(EncryptOneFile(host, "late.txt"));
    EXPECT_EQ(ReadBytes("late.txt.cry").size(), 20u);
}

TEST_F(FileCommandsTest, NameWithNothingBeforeItsLastFourCharactersIsRefused) {
    ShowCry = 1;
    WriteBytes(".cry", PatternBytes(30));
    messages.Expect("Couldn`t create new file.");
    EXPECT_FALSE(DecryptOneFile(host, ".cry"));
    EXPECT_EQ(ReadBytes(".cry").size(), 30u);
}

TEST_F(FileCommandsTest, ReadOnlySourceIsAskedAboutAndItsResultStaysReadOnly) {
    Make("ro.txt");
    ::chmod("ro.txt", 0444);
    messages.Expect("File \"ro.txt\" is set as read only.Proceed?", mrCancel);
    EXPECT_FALSE(EncryptOneFile(host, "ro.txt"));
    EXPECT_EQ(ModeOf("ro.txt"), 0444u);

    messages.Expect("File \"ro.txt\" is set as read only.Proceed?");
    host.encrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(EncryptOneFile(host, "ro.txt"));
    EXPECT_FALSE(Exists("ro.txt"));
    EXPECT_EQ(ModeOf("ro.txt.cry"), 0444u);
    EXPECT_TRUE(ReadFileAttributes("ro.txt.cry").Has(faReadOnly));

    ShowCry = 1;
    host.RefreshLists();
    messages.Expect("File \"ro.txt.cry\" is set as read only.Proceed?");
    host.decrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(DecryptOneFile(host, "ro.txt.cry"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ro.txt"});
    EXPECT_EQ(ModeOf("ro.txt"), 0444u);
}

TEST_F(FileCommandsTest, CancelledDialogAndWrongPasswordLeaveTheExactOldAttributes) {
    Make(".hidden");
    ::chmod(".hidden", 0451);
    messages.Expect("File \".hidden\" is set as read only.Proceed?");
    host.encrypt.Answer(mrCancel);
    EXPECT_FALSE(EncryptOneFile(host, ".hidden"));
    EXPECT_EQ(ModeOf(".hidden"), 0451u);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{".hidden"});

    ::chmod(".hidden", 0640);
    Crypt(".hidden");
    ::chmod(".hidden.cry", 0604);
    host.decrypt.Answer(mrCancel);
    EXPECT_FALSE(DecryptOneFile(host, ".hidden"));
    EXPECT_EQ(ModeOf(".hidden.cry"), 0604u);

    const auto crypted = ReadBytes(".hidden.cry");
    host.decrypt.Answer(mrOk, "Secret1");
    messages.Expect("Invalid password for the file \".hidden\"!");
    EXPECT_FALSE(DecryptOneFile(host, ".hidden"));
    EXPECT_EQ(ModeOf(".hidden.cry"), 0604u);
    EXPECT_EQ(ReadBytes(".hidden.cry"), crypted);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{".hidden.cry"});
    EXPECT_EQ(host.refreshes, 0);
}

TEST_F(FileCommandsTest, CancelDuringTheRunLosesNothing) {
    const auto original = Make("big.bin", 3'000'000);
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    int events = 0;
    DefaultCryptHooks().letEventsRun = [&] {
        // The user presses "Cancel process" while the run is under way, and
        // a double-click meanwhile is refused without eating the cancel.
        if (++events == 3) {
            EXPECT_TRUE(EncryptBusy);
            CancelRequested = true;
            RunDoubleClick(host, Direction::Encrypt, "big.bin");
            EXPECT_TRUE(CancelRequested);
        }
    };
    host.encrypt.Answer(mrOk, "secret1");
    messages.Expect("You have aborted processing \"big.bin\".");
    EXPECT_FALSE(EncryptOneFile(host, "big.bin"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"big.bin"});
    EXPECT_EQ(ReadBytes("big.bin"), original);
    EXPECT_FALSE(EncryptBusy);
    EXPECT_EQ(host.status, "Idle");
}

TEST_F(FileCommandsTest, ASourceChangedDuringTheRunIsKeptBesideTheNewFile) {
    const auto original = Make("a.txt", 300000);
    const std::vector<uint8_t> newer = {'n', 'e', 'w'};
    // While the engine runs, an editor saves the file by write and rename.
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    DefaultCryptHooks().letEventsRun = [&] {
        if (std::filesystem::file_size("a.txt") != newer.size()) {
            WriteBytes("a.txt.saving", newer);
            std::filesystem::rename("a.txt.saving", "a.txt");
        }
    };
    host.encrypt.Answer(mrOk, "secret1");
    messages.Expect("File \"a.txt\" changed while it was being encrypted. Both files are kept.");
    EXPECT_TRUE(EncryptOneFile(host, "a.txt"));
    EXPECT_EQ(messages.Shown().back().kind, MessageKind::Error);
    EXPECT_EQ(ReadBytes("a.txt"), newer);
    EXPECT_EQ(host.refreshes, 1);

    // The crypted file holds what was read; the same for the way back.
    std::filesystem::rename("a.txt", "kept.txt");
    const auto crypted = ReadBytes("a.txt.cry");
    DefaultCryptHooks().letEventsRun = [&] {
        if (std::filesystem::file_size("a.txt.cry") == crypted.size())
            std::ofstream("a.txt.cry", std::ios::app) << "appended";
    };
    host.RefreshLists();
    host.decrypt.Answer(mrOk, "secret1");
    messages.Expect("File \"a.txt\" changed while it was being decrypted. Both files are kept.");
    EXPECT_TRUE(DecryptOneFile(host, "a.txt"));
    EXPECT_EQ(ReadBytes("a.txt"), original);
    EXPECT_EQ(ReadBytes("a.txt.cry").size(), crypted.size() + 8);
}

TEST_F(FileCommandsTest, SourceThatCannotBeDeletedStillCountsAsSuccess) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "a write-protected directory stops no deletion by root";
    std::filesystem::create_directory("ro");
    WriteBytes("ro/b.txt", PatternBytes(100));
    host.encrypt.Answer(mrOk, "secret1");
    // The directory may be written while the new file is made, not after.
    host.onPanelHidden = [] { ::chmod("ro", 0555); };
    messages.Expect("Couldn't delete file ro/b.txt from the filelist of non encrypted files.");
    EXPECT_TRUE(EncryptOneFile(host, "ro/b.txt"));
    ::chmod("ro", 0755);
    EXPECT_TRUE(Exists("ro/b.txt"));
    EXPECT_TRUE(Exists("ro/b.txt.cry"));
    EXPECT_EQ(messages.Shown().back().kind, MessageKind::Error);
}

TEST_F(FileCommandsTest, ASymbolicLinkIsRefusedAndTheFileItPointsToStaysAsItWas) {
    const auto target = Make("target.txt");
    std::filesystem::create_symlink("target.txt", "link.txt");
    messages.Expect("File \"link.txt\" is a symbolic link. Only the file it points to can be "
                    "encrypted.");
    EXPECT_FALSE(EncryptOneFile(host, "link.txt"));
    EXPECT_EQ(messages.Shown().back().kind, MessageKind::Error);
    EXPECT_EQ(ReadBytes("target.txt"), target);
    EXPECT_TRUE(std::filesystem::is_symlink("link.txt"));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"link.txt", "target.txt"}));

    Crypt("target.txt");
    std::filesystem::create_symlink("target.txt.cry", "other.cry");
    ShowCry = 1;
    host.RefreshLists();
    messages.Expect("File \"other.cry\" is a symbolic link. Only the file it points to can be "
                    "decrypted.");
    EXPECT_FALSE(DecryptOneFile(host, "other.cry"));
    EXPECT_TRUE(Exists("target.txt.cry"));
    EXPECT_FALSE(Exists("other"));

    // A file with other names would stay readable through them.
    const auto shared = Make("h1");
    ASSERT_EQ(::link("h1", "h2"), 0);
    messages.Expect("File \"h1\" has 1 other name; its content would stay readable through "
                    "it. It is not encrypted.");
    EXPECT_FALSE(EncryptOneFile(host, "h1"));
    EXPECT_FALSE(Exists("h1.cry"));
    EXPECT_EQ(ReadBytes("h2"), shared);
}

TEST_F(FileCommandsTest, ANewFileNeverGetsSetIdBits) {
    Make("tool");
    ::chmod("tool", 04755);
    Crypt("tool");
    EXPECT_EQ(ModeOf("tool.cry"), 0755u);
    ::chmod("tool.cry", 02750);
    host.decrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(DecryptOneFile(host, "tool"));
    EXPECT_EQ(ModeOf("tool"), 0750u);
}

TEST_F(FileCommandsTest, TheSourcesModeIsNeverChangedDuringTheRun) {
    Make("ro.txt", 300000);
    ::chmod("ro.txt", 0444);
    std::vector<mode_t> modes;
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    DefaultCryptHooks().letEventsRun = [&] {
        if (Exists("ro.txt"))
            modes.push_back(ModeOf("ro.txt"));
    };
    messages.Expect("File \"ro.txt\" is set as read only.Proceed?");
    host.encrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(EncryptOneFile(host, "ro.txt"));
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes, std::vector<mode_t>(modes.size(), 0444));
}

TEST_F(FileCommandsTest, AFileThatAppearsUnaskedDuringTheRunIsKept) {
    const auto plain = Make("a.txt", 300000);
    DefaultCryptHooks().eventBudget = std::chrono::microseconds(0);
    DefaultCryptHooks().letEventsRun = [] {
        if (!Exists("a.txt.cry"))
            WriteBytes("a.txt.cry", {'t', 'h', 'e', 'i', 'r', 's'});
    };
    host.encrypt.Answer(mrOk, "secret1");
    messages.Expect(
        "File \"a.txt.cry\" appeared while \"a.txt\" was processed. Both files are kept.");
    EXPECT_FALSE(EncryptOneFile(host, "a.txt"));
    EXPECT_EQ(ReadBytes("a.txt.cry").size(), 6u);
    EXPECT_EQ(ReadBytes("a.txt"), plain);
    EXPECT_EQ(host.refreshes, 1);

    // Asked and agreed: the newer file takes its place.
    host.RefreshLists();
    messages.Expect("File \"a.txt\" already exist in the list of crypted files. Overwrite one?");
    host.encrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(EncryptOneFile(host, "a.txt"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt.cry"});

    // Another program did the same work meanwhile: its file is all there
    // is, and the message must not claim the source is kept.
    Make("b.txt", 300000);
    DefaultCryptHooks().letEventsRun = [] {
        if (!Exists("b.txt.cry")) {
            WriteBytes("b.txt.cry", {'t', 'h', 'e', 'i', 'r', 's'});
            std::filesystem::remove("b.txt");
        }
    };
    host.RefreshLists();
    host.encrypt.Answer(mrOk, "secret1");
    messages.Expect("File \"b.txt.cry\" appeared while \"b.txt\" was processed, and "
                    "\"b.txt\" has been removed meanwhile. File \"b.txt.cry\" is kept as it "
                    "was.");
    EXPECT_FALSE(EncryptOneFile(host, "b.txt"));
    EXPECT_EQ(ReadBytes("b.txt.cry").size(), 6u);
}

TEST_F(FileCommandsTest, ANewFileTheDiskDidNotConfirmKeepsTheSource) {
    const auto plain = Make("a.txt");
    testing_support::FaultyFiles faults;
    faults.unconfirmedCommit = true;
    DefaultCryptHooks().files = &faults;
    host.encrypt.Answer(mrOk, "secret1");
    messages.Expect("File \"a.txt.cry\" has been written, but the disk did not confirm it. "
                    "File \"a.txt\" is kept.");
    EXPECT_TRUE(EncryptOneFile(host, "a.txt"));
    EXPECT_EQ(ReadBytes("a.txt"), plain);
    EXPECT_TRUE(Exists("a.txt.cry"));
    EXPECT_EQ(host.refreshes, 1);
}

// A crypted file whose extension is in capitals, listed without it.
TEST_F(FileCommandsTest, CapitalCryListedWithoutItsExtensionDecryptsFromItsRealName) {
    const auto original = Make("cap");
    Crypt("cap");
    std::filesystem::rename("cap.cry", "cap.CRY");
    host.RefreshLists();
    host.decrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(DecryptOneFile(host, "cap"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"cap"});
    EXPECT_EQ(ReadBytes("cap"), original);

    // From a row: the row's file, when other spellings are listed too.
    std::filesystem::remove("cap");
    const auto first = Make("one", 55);
    Crypt("one");
    std::filesystem::rename("one.cry", "cap.Cry");
    Make("two", 66);
    Crypt("two");
    std::filesystem::rename("two.cry", "cap.CRY");
    host.RefreshLists();
    host.decrypt.Answer(mrOk, "secret1");
    RunDoubleClick(host, Direction::Decrypt, "cap", "cap.Cry");
    EXPECT_EQ(ReadBytes("cap"), first);
    EXPECT_TRUE(Exists("cap.CRY"));
    EXPECT_FALSE(Exists("cap.Cry"));
}

TEST_F(FileCommandsTest, OverwriteQuestionsCompareNamesExactly) {
    // "Notes" beside "notes.cry": encrypting writes "Notes.cry", a new file.
    const auto notes = Make("Notes");
    const auto lower = Make("notes.cry", 40);
    host.encrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(EncryptOneFile(host, "Notes"));
    EXPECT_EQ(ReadBytes("notes.cry"), lower);
    EXPECT_TRUE(Exists("Notes.cry"));

    // And back: "Notes.cry" beside a plain "NOTES" asks nothing either.
    const auto capitals = Make("NOTES", 20);
    host.decrypt.Answer(mrOk, "secret1");
    EXPECT_TRUE(DecryptOneFile(host, "Notes", "Notes.cry"));
    EXPECT_EQ(ReadBytes("Notes"), notes);
    EXPECT_EQ(ReadBytes("NOTES"), capitals);
    EXPECT_TRUE(messages.Shown().empty());

    // The same name is still asked about.
    messages.Expect("File \"Notes\" already exist in the list of crypted files. Overwrite one?",
                    mrCancel);
    Make("Notes.cry", 10);
    EXPECT_FALSE(EncryptOneFile(host, "Notes"));
}

// No failure of a run leaves the user without a word of what happened.
TEST(RunEndTexts, EveryFailureARunCanEndInHasItsOwnMessage) {
    for (const CryptResult result : kFailureResults) {
        const std::string text = RunEndText(result, "notes.txt.age", "notes.txt", true);
        EXPECT_FALSE(text.empty()) << result;
        EXPECT_EQ(text.find("failed ("), std::string::npos) << result << ": " << text;
    }
}

} // namespace
} // namespace kelvane
