// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TreeWalk.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::TempDir;

std::vector<std::string> Paths(const WalkResult& result, std::size_t prefix) {
    std::vector<std::string> paths;
    for (const WalkedFile& file : result.files)
        paths.push_back(file.path.substr(prefix));
    return paths;
}

class TreeWalkTest : public testing::Test {
protected:
    TreeWalkTest() {
        tree.Write("b.txt", "bb");
        tree.Write("A.CRY", "crypted, upper case");
        tree.Write("sub/z.cry", "crypted");
        tree.Write("sub/y", "yyy");
        tree.Write("sub/deeper/x.Cry", "crypted");
        tree.Write("a", "a");
    }
    std::size_t Prefix() const { return tree.Path().size() + 1; }

    TempDir tree;
};

TEST_F(TreeWalkTest, DepthFirstInNameOrderWithTheCryTestIgnoringCase) {
    const WalkResult plain = WalkTree(tree.Path(), WalkPick::PlainFiles);
    EXPECT_EQ(Paths(plain, Prefix()), (std::vector<std::string>{"a", "b.txt", "sub/y"}));
    EXPECT_TRUE(plain.skipped.empty());
    EXPECT_FALSE(plain.rootUnreadable);
    EXPECT_EQ(plain.files[1].size, 2u);

    const WalkResult crypted = WalkTree(tree.Path(), WalkPick::CryptedFiles);
    EXPECT_EQ(Paths(crypted, Prefix()),
              (std::vector<std::string>{"A.CRY", "sub/deeper/x.Cry", "sub/z.cry"}));
    EXPECT_EQ(WalkTree(tree.Path(), WalkPick::AllFiles).files.size(), 6u);
}

TEST_F(TreeWalkTest, ARootGivenWithATrailingSlashGetsNoDoubleSlash) {
    const WalkResult result = WalkTree(tree.Path() + "/", WalkPick::PlainFiles);
    ASSERT_FALSE(result.files.empty());
    EXPECT_EQ(result.files[0].path, tree.Path() + "/a");
}

TEST_F(TreeWalkTest, SymbolicLinksAreNotedAndNeverFollowed) {
    TempDir outside;
    outside.Write("secret", "not part of the tree");
    ASSERT_EQ(::symlink(outside.Path().c_str(), (tree / "to-folder").c_str()), 0);
    ASSERT_EQ(::symlink((outside / "secret").c_str(), (tree / "to-file").c_str()), 0);
    const WalkResult result = WalkTree(tree.Path(), WalkPick::AllFiles);
    for (const WalkedFile& file : result.files)
        EXPECT_EQ(file.path.find("secret"), std::string::npos) << file.path;
    ASSERT_EQ(result.skipped.size(), 2u);
    EXPECT_EQ(result.skipped[0].path, tree / "to-file");
    EXPECT_EQ(result.skipped[0].reason, WalkSkip::SymbolicLink);
    EXPECT_EQ(WalkSkipText(result.skipped[1]), "a symbolic link, not followed");
}

TEST_F(TreeWalkTest, AFifoIsPassedOverWithoutBeingOpened) {
    // Opening a FIFO with no writer would hang the walk, so finishing at all
    // is half of this test.
    ASSERT_EQ(::mkfifo((tree / "sub/pipe").c_str(), 0600), 0);
    const WalkResult result = WalkTree(tree.Path(), WalkPick::AllFiles);
    EXPECT_EQ(result.files.size(), 6u);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].path, tree / "sub/pipe");
    EXPECT_EQ(result.skipped[0].reason, WalkSkip::SpecialFile);
}

// A bind mount of a folder of the same file system shares its device: only
// the mount id tells it from a plain folder.
TEST_F(TreeWalkTest, AnotherFileSystemMountedInsideIsNotEntered) {
    ASSERT_EQ(::mkdir((tree / "mounted").c_str(), 0700), 0);
    if (::mount("kelvane-test", (tree / "mounted").c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no permission to mount a file system here";
    tree.Write("mounted/inside", "on the other file system");
    TempDir elsewhere;
    elsewhere.Write("x", "outside the tree, on the same file system");
    ASSERT_EQ(::mkdir((tree / "bound").c_str(), 0700), 0);
    const bool bound =
        ::mount(elsewhere.Path().c_str(), (tree / "bound").c_str(), nullptr, MS_BIND, nullptr) == 0;
    const WalkResult result = WalkTree(tree.Path(), WalkPick::AllFiles);
    ::umount((tree / "mounted").c_str());
    if (bound)
        ::umount((tree / "bound").c_str());
    ASSERT_TRUE(bound);
    EXPECT_EQ(result.files.size(), 6u);
    ASSERT_EQ(result.skipped.size(), 2u);
    EXPECT_EQ(result.skipped[0].path, tree / "bound");
    EXPECT_EQ(result.skipped[0].reason, WalkSkip::MountPoint);
    EXPECT_EQ(WalkSkipText(result.skipped[0]), "a mount point, not entered");
    EXPECT_EQ(result.skipped[1].reason, WalkSkip::OtherFileSystem);
}

TEST_F(TreeWalkTest, TheProgramsOwnTemporariesAreNotFilesAndThoseOfDeadRunsGo) {
    const std::string dead = ".g.cry.999999999.0123456789abcdef.kelvane-tmp";
    const std::string running =
        ".h.cry." + std::to_string(::getpid()) + ".0123456789abcdef.kelvane-tmp";
    tree.Write("sub/" + dead, "half");
    tree.Write(running, "being written");
    const WalkResult result = WalkTree(tree.Path(), WalkPick::AllFiles);
    EXPECT_EQ(result.files.size(), 6u);
    EXPECT_FALSE(std::filesystem::exists(tree / ("sub/" + dead)));
    EXPECT_TRUE(std::filesystem::exists(tree / running));
}

TEST_F(TreeWalkTest, AMissingRootIsReportedNotWalked) {
    const WalkResult result = WalkTree(tree / "nowhere", WalkPick::AllFiles);
    EXPECT_TRUE(result.rootUnreadable);
    EXPECT_TRUE(result.files.empty());
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_NE(WalkSkipText(result.skipped[0]).find("No such file"), std::string::npos);
}

} // namespace
} // namespace kelvane
