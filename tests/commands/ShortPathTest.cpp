// SPDX-License-Identifier: GPL-3.0-or-later
// Shortening a path to a width, one character one unit wide.
#include "commands/ShortPath.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

int Length(const std::string& text) {
    return static_cast<int>(text.size());
}

TEST(MinimizePath, FittingPathIsLeftAlone) {
    EXPECT_EQ(MinimizePath("/home/ann/Letters", 17, Length), "/home/ann/Letters");
    EXPECT_EQ(MinimizePath("/", 0, Length), "/");
}

TEST(MinimizePath, LeadingFoldersGiveWayOneAtATime) {
    const std::string path = "/home/ann/Projects/Letters";
    EXPECT_EQ(MinimizePath(path, 25, Length), "/.../ann/Projects/Letters");
    EXPECT_EQ(MinimizePath(path, 21, Length), "/.../Projects/Letters");
    EXPECT_EQ(MinimizePath(path, 12, Length), "/.../Letters");
}

TEST(MinimizePath, ThenTheRootAndLastTheDots) {
    const std::string path = "/home/ann/Projects/Letters";
    EXPECT_EQ(MinimizePath(path, 11, Length), ".../Letters");
    EXPECT_EQ(MinimizePath(path, 10, Length), "Letters");
    // Too narrow even for the name: the name is what is left.
    EXPECT_EQ(MinimizePath(path, 3, Length), "Letters");
    EXPECT_EQ(MinimizePath("/Letters", 5, Length), "Letters");
}

} // namespace
} // namespace kelvane
