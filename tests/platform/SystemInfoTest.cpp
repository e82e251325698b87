// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(SystemInfo, TheVersionShowsTheMinorWithAtLeastTwoDigits) {
    EXPECT_EQ(VersionText({"Windows", 4, 0}), "Windows 4.00");
    EXPECT_EQ(VersionText({"Windows", 4, 10}), "Windows 4.10");
    EXPECT_EQ(VersionText({"Windows", 4, 3}), "Windows 4.03");
    EXPECT_EQ(VersionText({"Linux", 6, 123}), "Linux 6.123");
}

TEST(SystemInfo, TheRunningSystemTellsItsNameVersionAndMemory) {
    const SystemVersion version = ThisSystem().Version();
    EXPECT_EQ(version.name, "Linux");
    EXPECT_GT(version.major, 0u);
    EXPECT_GT(ThisSystem().TotalMemoryBytes(), 1024u * 1024u);
}

} // namespace
} // namespace kelvane
