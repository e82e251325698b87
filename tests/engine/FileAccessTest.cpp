// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileAccess.h"

#include "engine/CryptFile.h"
#include "support/TempDir.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using testing_support::TempDir;

TEST(SystemFileAccess, AFifoIsRefusedWithoutWaitingForAWriter) {
    // Nobody ever writes to this FIFO: a blocking open would never return.
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(SystemFilesForReading().OpenSource(dir / "fifo"), nullptr);
    EXPECT_EQ(SystemFiles().OpenSource(dir / "fifo"), nullptr);
    CryptHeader header;
    EXPECT_FALSE(ReadCryptHeader(dir / "fifo", header, SystemFilesForReading()));
}

TEST(SystemFileAccess, ARegularSourceReadsAsUsualAfterTheNonBlockingOpen) {
    TempDir dir;
    const std::string content(100'000, 'r');
    dir.Write("plain", content);
    const auto source = SystemFilesForReading().OpenSource(dir / "plain");
    ASSERT_NE(source, nullptr);
    std::string read(content.size() + 10, '\0');
    EXPECT_EQ(source->Read(read.data(), read.size()), static_cast<int64_t>(content.size()));
    read.resize(content.size());
    EXPECT_EQ(read, content);
}

// Someone who can write the folder swaps a file for a link to one outside
// it, or for another file, between the run's look and its opening: the run
// must not read what it never looked at into the folder.
TEST(SystemFileAccess, ASourceSwappedAfterItsLookIsNotRead) {
    TempDir dir;
    dir.Write("outside.cry", "not theirs to read");
    dir.Write("looked.cry", "the file looked at");
    struct stat looked {};
    ASSERT_EQ(::stat((dir / "looked.cry").c_str(), &looked), 0);
    const auto folder = FilesIn(AT_FDCWD, {false, false, NodeOf(looked)});
    ASSERT_NE(folder->OpenSource(dir / "looked.cry"), nullptr);

    ASSERT_EQ(::rename((dir / "outside.cry").c_str(), (dir / "looked.cry").c_str()), 0);
    errno = 0;
    EXPECT_EQ(folder->OpenSource(dir / "looked.cry"), nullptr);
    EXPECT_EQ(errno, ESTALE);

    ASSERT_EQ(::unlink((dir / "looked.cry").c_str()), 0);
    dir.Write("elsewhere.cry", "secret");
    ASSERT_EQ(::symlink((dir / "elsewhere.cry").c_str(), (dir / "looked.cry").c_str()), 0);
    for (FileAccess* files : {folder.get(), &SystemFiles()}) {
        errno = 0;
        EXPECT_EQ(files->OpenSource(dir / "looked.cry"), nullptr);
        EXPECT_EQ(errno, ELOOP);
    }
    // What is only read, as the settings, still follows a link.
    EXPECT_NE(SystemFilesForReading().OpenSource(dir / "looked.cry"), nullptr);
}

} // namespace
} // namespace kelvane
