// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileAttributes.h"

#include "support/EnvironmentGuard.h"
#include "support/TempDir.h"

#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvane {
namespace {

using testing_support::EnvironmentGuard;
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

// Read-only is the owner's missing write permission; reading the attributes
// never changes the file.
TEST(FileAttributes, ReadOnlyIsTheOwnersMissingWritePermission) {
    TempDir dir;
    const std::string file = dir.Write("notes.txt", "x");
    for (const auto& [mode, text] : {std::pair{0440u, "A-R-"}, std::pair{0640u, "A---"},
                                     std::pair{0466u, "A-R-"}, std::pair{0200u, "A---"}}) {
        ::chmod(file.c_str(), mode);
        const HeldAttributes held = ReadFileAttributes(file);
        EXPECT_EQ(AttributeText(held.word), text) << std::oct << mode;
        EXPECT_EQ(held.permissions, mode);
        EXPECT_EQ(ModeOf(file), mode);
    }
}

TEST(FileInformation, SizeAttributesAndTheLastWriteTimeInLocalTime) {
    TempDir dir;
    const std::string file = dir.Write(".data", std::string(1234, 'z'));
    ::chmod(file.c_str(), 0444);
    // 7 December 1997, 14:05:09 UTC
    const struct timespec times[2] = {{881503509, 0}, {881503509, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);

    const EnvironmentGuard zone("TZ");
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    FileInformation info;
    ASSERT_TRUE(ReadFileInformation(file, info));
    ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(info.size, 1234u);
    EXPECT_EQ(AttributeText(info.attributes), "AHR-");
    EXPECT_EQ((std::array{info.year, info.month, info.day, info.hour, info.minute, info.second}),
              (std::array{1997, 12, 7, 23, 5, 9}));
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
