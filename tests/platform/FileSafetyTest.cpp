// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSafety.h"

#include "support/EnvironmentGuard.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::TempDir;

// Every test here writes into a TempDir: one that could not be made must stop
// the test, or its files would land below "/" (and CI runs as root).
TEST(FileSafety, ATestFolderThatCannotBeMadeStopsTheTest) {
    testing_support::EnvironmentGuard restore("TMPDIR");
    ::setenv("TMPDIR", "/proc", 1);
    EXPECT_THROW(TempDir{}, std::system_error);
}

TEST(FileSafety, OnlyARegularFileMayBeASource) {
    TempDir dir;
    const std::string file = dir.Write("file", "x");
    std::filesystem::create_symlink(file, dir / "link");
    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(KindOfSource(file), SourceKind::RegularFile);
    EXPECT_EQ(KindOfSource(dir / "link"), SourceKind::SymbolicLink);
    EXPECT_EQ(KindOfSource(dir / "dangling"), SourceKind::SymbolicLink);
    EXPECT_EQ(KindOfSource(dir / "fifo"), SourceKind::NotAFile);
    EXPECT_EQ(KindOfSource(dir.Path()), SourceKind::NotAFile);
    EXPECT_EQ(KindOfSource(dir / "absent"), SourceKind::Missing);
    EXPECT_EQ(KindOfSource(""), SourceKind::Missing);
}

TEST(FileSafety, NewFilesNeverGetSetIdOrStickyBits) {
    EXPECT_EQ(NewFilePermissions(04755), 0755u);
    EXPECT_EQ(NewFilePermissions(02750), 0750u);
    EXPECT_EQ(NewFilePermissions(01777), 0777u);
    EXPECT_EQ(NewFilePermissions(0100440), 0440u); // a whole st_mode
}

TEST(FileSafety, TheSameFileUnderTwoNames) {
    TempDir dir;
    const std::string file = dir.Write("file", "x");
    const std::string other = dir.Write("other", "x");
    ASSERT_EQ(::link(file.c_str(), (dir / "hard").c_str()), 0);
    EXPECT_TRUE(IsSameFile(file, dir.Path() + "/./file"));
    EXPECT_TRUE(IsSameFile(file, dir / "hard"));
    EXPECT_TRUE(IsSameFile(dir / "absent", dir / "absent")) << "the same text";
    EXPECT_FALSE(IsSameFile(file, other));
    EXPECT_FALSE(IsSameFile(file, dir / "absent"));
}

// The engine records the source as it opens it; these stand in for that.
class HeldSourceTest : public testing::Test {
protected:
    void Open(HeldSource& held, const std::string& path) {
        auto source = SystemFiles().OpenSource(path);
        ASSERT_TRUE(source);
        *held.Opened() = source->OpenedAs();
    }
    TempDir dir;
};

TEST_F(HeldSourceTest, AnUnchangedSourceIsRemovedThroughItsDirectory) {
    const std::string file = dir.Write("a", "content");
    HeldSource held(file);
    Open(held, file);
    EXPECT_TRUE(held.Unchanged());
    EXPECT_EQ(held.RemoveIfUnchanged(), SourceRemoval::Removed);
    EXPECT_TRUE(dir.Names().empty());
}

TEST_F(HeldSourceTest, ARemovalFindsTheDirectoryTheRunReadFromAfterItMoved) {
    std::filesystem::create_directory(dir / "d");
    const std::string file = dir.Write("d/a", "content");
    HeldSource held(file);
    Open(held, file);
    std::filesystem::rename(dir / "d", dir / "moved");
    std::filesystem::create_directory(dir / "d");
    dir.Write("d/a", "content"); // a new file where the old path led
    EXPECT_EQ(held.RemoveIfUnchanged(), SourceRemoval::Removed);
    EXPECT_FALSE(std::filesystem::exists(dir / "moved/a"));
    EXPECT_TRUE(std::filesystem::exists(dir / "d/a"));
}

TEST_F(HeldSourceTest, EveryKindOfChangeKeepsTheSource) {
    struct Change {
        const char* what;
        std::function<void(const std::string&)> make;
    };
    const std::vector<Change> changes = {
        {"saved by write and rename",
         [&](const std::string& f) {
             std::ofstream(f + ".new") << "content";
             std::filesystem::rename(f + ".new", f);
         }},
        {"bytes appended", [](const std::string& f) { std::ofstream(f, std::ios::app) << "!"; }},
        {"rewritten in place, same size",
         [](const std::string& f) {
             std::fstream(f, std::ios::in | std::ios::out | std::ios::binary) << "C";
         }},
        {"truncated", [](const std::string& f) { std::filesystem::resize_file(f, 0); }},
        {"replaced by a link to itself",
         [&](const std::string& f) {
             std::filesystem::rename(f, f + ".real");
             std::filesystem::create_symlink(f + ".real", f);
         }},
        {"deleted", [](const std::string& f) { std::filesystem::remove(f); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        const std::string file = dir.Write("a", "content");
        // Written long ago: the file system's clock moves in ticks, and a
        // change within the tick of the last one would keep the same times.
        const struct timespec old[2] = {{881503509, 0}, {881503509, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), old, 0), 0);
        HeldSource held(file);
        Open(held, file);
        change.make(file);
        EXPECT_FALSE(held.Unchanged());
        EXPECT_EQ(held.RemoveIfUnchanged(), SourceRemoval::Changed);
        std::error_code ignored;
        EXPECT_EQ(std::filesystem::exists(file), std::string(change.what) != "deleted");
        std::filesystem::remove(dir / "a", ignored);
        std::filesystem::remove(dir / "a.real", ignored);
    }
}

TEST_F(HeldSourceTest, ASourceNeverOpenedIsNeverRemoved) {
    const std::string file = dir.Write("a", "content");
    HeldSource held(file);
    EXPECT_EQ(held.RemoveIfUnchanged(), SourceRemoval::Changed);
    EXPECT_TRUE(std::filesystem::exists(file));
}

} // namespace
} // namespace kelvane
