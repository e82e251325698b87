// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting a confirmed file works on the directory entry: a link goes as a
// link, its target keeps its content and its mode, and folders never go.
#include "platform/FileDeletion.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(FileDeletionTest, AReadOnlyFileIsDeletedAndItsOtherNameKeepsItsMode) {
    TempDir dir;
    const std::string file = dir.Write("a.txt", "text");
    ::chmod(file.c_str(), 0440);
    const HeldAttributes held = ReadEntryAttributes(file);
    ASSERT_TRUE(held.Valid());
    EXPECT_TRUE(held.Has(faReadOnly));
    EXPECT_TRUE(held.Has(faArchive));

    ASSERT_EQ(::link(file.c_str(), (dir / "other.txt").c_str()), 0);
    EXPECT_TRUE(DeleteFileEntry(file));
    EXPECT_EQ(ModeOf(dir / "other.txt"), 0440u);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(ReadEntryAttributes(file).Valid());
    EXPECT_FALSE(DeleteFileEntry(file));
    EXPECT_FALSE(DeleteFileEntry(""));
}

TEST(FileDeletionTest, ALinkIsHandledAsItselfAndItsTargetIsLeftAlone) {
    TempDir dir;
    const std::string target = dir.Write("target.txt", "precious");
    ::chmod(target.c_str(), 0444);
    const std::string link = dir / "link.txt";
    std::filesystem::create_symlink(target, link);

    const HeldAttributes held = ReadEntryAttributes(link);
    ASSERT_TRUE(held.Valid());
    EXPECT_FALSE(held.Has(faReadOnly));

    EXPECT_TRUE(DeleteFileEntry(link));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    EXPECT_EQ(TempDir::Read(target), "precious");

    // A dangling link goes just the same.
    std::filesystem::create_symlink(dir / "gone", link);
    EXPECT_TRUE(ReadEntryAttributes(link).Valid());
    EXPECT_TRUE(DeleteFileEntry(link));
}

TEST(FileDeletionTest, AFolderIsNeverDeleted) {
    TempDir dir;
    const std::string folder = dir / "sub";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(DeleteFileEntry(folder));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

} // namespace
} // namespace kelvane
