#include "platform/FileAttributes.h"

#include "support/TempDir.h"

#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvane {
namespace {

using testing_support::TempDir;

uint32_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(FileAttributes, WordsShowAsTheListsPrintThem) {
    EXPECT_EQ(AttributeText(0), "----");
    EXPECT_EQ(AttributeText(faArchive | faReadOnly), "A-R-");
    EXPECT_EQ(AttributeText(faHidden | faSysFile), "-H-S");
    EXPECT_EQ(AttributeText(faInvalid), "----");
}

TEST(FileAttributes, RegularFilesDotfilesAndDirectories) {
    TempDir dir;
    const std::string plain = dir.Write("letter.doc", "x");
    const std::string dotfile = dir.Write(".profile", "x");
    ::chmod(plain.c_str(), 0644);

    EXPECT_EQ(ReadFileAttributes(plain).word, faArchive);
    EXPECT_EQ(ReadFileAttributes(dotfile).word & (faHidden | faArchive), faHidden | faArchive);
    EXPECT_EQ(ReadFileAttributes(dir.Path()).word & (faDirectory | faArchive), faDirectory);
    EXPECT_FALSE(ReadFileAttributes(dir / "..").Has(faHidden));
    EXPECT_FALSE(ReadFileAttributes(dir / "absent").Valid());
    EXPECT_FALSE(ReadFileAttributes("").Valid());
}

// The single-file commands hold a file's attributes, clear them to archive
// only, and then give them back to the same file or to its replacement.
TEST(FileAttributes, ReadOnlyIsClearedAndPutBackExactly) {
    TempDir dir;
    const std::string source = dir.Write("notes.txt", "x");
    ::chmod(source.c_str(), 0440);

    const HeldAttributes held = ReadFileAttributes(source);
    EXPECT_EQ(AttributeText(held.word), "A-R-");

    ASSERT_TRUE(SetArchiveOnly(source));
    EXPECT_EQ(AttributeText(ReadFileAttributes(source).word), "A---");
    EXPECT_EQ(ModeOf(source), 0640u);

    ASSERT_TRUE(RestoreFileAttributes(source, held));
    EXPECT_EQ(ModeOf(source), 0440u);

    const std::string replacement = dir.Write("notes.txt.cry", "y");
    ASSERT_TRUE(RestoreFileAttributes(replacement, held));
    EXPECT_EQ(ModeOf(replacement), 0440u);
    EXPECT_EQ(AttributeText(ReadFileAttributes(replacement).word), "A-R-");
}

TEST(FileAttributes, NothingIsChangedForAMissingFileOrUnreadAttributes) {
    TempDir dir;
    const std::string file = dir.Write("f", "x");
    ::chmod(file.c_str(), 0600);
    EXPECT_FALSE(SetArchiveOnly(dir / "absent"));
    EXPECT_FALSE(RestoreFileAttributes(dir / "absent", ReadFileAttributes(file)));
    EXPECT_FALSE(RestoreFileAttributes(file, HeldAttributes{}));
    EXPECT_EQ(ModeOf(file), 0600u);
}

TEST(FileInformation, SizeAttributesAndTheLastWriteTimeInUtc) {
    TempDir dir;
    const std::string file = dir.Write(".data", std::string(1234, 'z'));
    ::chmod(file.c_str(), 0444);
    // 7 December 1997, 14:05:09 UTC
    const struct timespec times[2] = {{881503509, 0}, {881503509, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);

    FileInformation info;
    ASSERT_TRUE(ReadFileInformation(file, info));
    EXPECT_EQ(info.size, 1234u);
    EXPECT_EQ(AttributeText(info.attributes), "AHR-");
    EXPECT_EQ((std::array{info.year, info.month, info.day, info.hour, info.minute, info.second}),
              (std::array{1997, 12, 7, 14, 5, 9}));
    EXPECT_FALSE(ReadFileInformation(dir / "absent", info));
}

TEST(FileInformation, ANamedPipeDoesNotHangTheListing) {
    TempDir dir;
    const std::string pipe = dir / "fifo";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    auto read = std::async(std::launch::async, [&pipe] {
        FileInformation info;
        return ReadFileInformation(pipe, info);
    });
    ASSERT_EQ(read.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(read.get());
}

} // namespace
} // namespace kelvane
