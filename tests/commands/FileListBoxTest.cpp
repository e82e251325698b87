// SPDX-License-Identifier: GPL-3.0-or-later
// The sorted name lists behind the grids, and the shared state's reset.
#include "commands/FileListBox.h"

#include "commands/State.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(FileListBox, SortsIgnoringCaseWithATotalOrder) {
    TFileListBox list;
    for (const char* name : {"b", "B", "a", "_x", "A"})
        list.Add(name);
    EXPECT_EQ(list.Items, (std::vector<std::string>{"_x", "A", "a", "B", "b"}));
    EXPECT_EQ(list.IndexOf("b"), 3); // the first of the names equal but for case
    EXPECT_EQ(list.IndexOf("c"), -1);
    list.Delete(0);
    list.Delete(99);
    EXPECT_EQ(list.Count(), 4);
}

} // namespace
} // namespace kelvane
