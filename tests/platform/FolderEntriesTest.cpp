// SPDX-License-Identifier: GPL-3.0-or-later
// What a tree walk sees of a folder and where it may go from there.
#include "platform/FolderEntries.h"

#include "support/TempDir.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

class FolderEntriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(dir / "sub");
        std::ofstream(dir / "file.txt") << "x";
        std::ofstream(dir / ".hidden") << "x";
        fs::create_directory_symlink(dir / "sub", dir / "sublink");
        fs::create_symlink(dir / "file.txt", dir / "filelink");
        fs::create_symlink(dir / "nowhere", dir / "dangling");
        ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
        root = OpenWalkRoot(dir.Path());
        ASSERT_GE(root, 0);
    }
    void TearDown() override { ::close(root); }

    TempDir dir;
    int root = -1;
};

TEST_F(FolderEntriesTest, EveryEntryIsSeenForWhatItIsWithoutFollowingLinks) {
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ReadFolderEntries(root, entries));
    std::map<std::string, EntryKind> kinds;
    for (const FolderEntry& entry : entries)
        kinds[entry.name] = entry.kind;
    const std::map<std::string, EntryKind> expected{
        {".hidden", EntryKind::RegularFile},  {"dangling", EntryKind::SymbolicLink},
        {"file.txt", EntryKind::RegularFile}, {"filelink", EntryKind::SymbolicLink},
        {"pipe", EntryKind::Special},         {"sub", EntryKind::Folder},
        {"sublink", EntryKind::SymbolicLink}};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(EntryKindAt(root, "missing"), EntryKind::Gone);

    // The same file under two names is one identity.
    FileNode a, b;
    ASSERT_EQ(EntryKindAt(root, "file.txt", &a), EntryKind::RegularFile);
    fs::create_hard_link(dir / "file.txt", dir / "again.txt");
    EntryKindAt(root, "again.txt", &b);
    EXPECT_EQ(a, b);
}

TEST_F(FolderEntriesTest, OnlyARealSubfolderOnTheSameDeviceIsEntered) {
    const uint64_t device = IdentityOf(root).device;
    const int sub = OpenSubfolder(root, "sub", device);
    EXPECT_GE(sub, 0);
    EXPECT_EQ(IdentityOf(sub), [&] {
        FileNode id;
        EntryKindAt(root, "sub", &id);
        return id;
    }());
    ::close(sub);
    EXPECT_EQ(OpenSubfolder(root, "sublink", device), -1);
    EXPECT_EQ(OpenSubfolder(root, "file.txt", device), -1);
    EXPECT_EQ(OpenSubfolder(root, "pipe", device), -1);
    // Any other device number stands for a volume mounted below the start.
    EXPECT_EQ(OpenSubfolder(root, "sub", device + 1), -1);
    EXPECT_EQ(OpenWalkRoot(dir / "file.txt"), -1);
    EXPECT_EQ(OpenWalkRoot(dir / "missing"), -1);
}

TEST_F(FolderEntriesTest, AFolderThatCannotBeReadIsReportedNotEmpty) {
    std::vector<FolderEntry> entries{{"stale", EntryKind::RegularFile, {}}};
    const int fifo = ::open((dir / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fifo, 0);
    EXPECT_FALSE(ReadFolderEntries(fifo, entries));
    EXPECT_TRUE(entries.empty());
    ::close(fifo);
}

} // namespace
} // namespace kelvane
