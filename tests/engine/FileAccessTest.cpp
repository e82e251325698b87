// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileAccess.h"

#include "engine/CryptFile.h"
#include "support/TempDir.h"

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

} // namespace
} // namespace kelvane
