// SPDX-License-Identifier: GPL-3.0-or-later
// The sorted name lists behind the grids, and the shared state's reset.
#include "commands/FileListBox.h"

#include "commands/State.h"
#include "crypto/AsciiCase.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

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

// The fast sort of a folder's names orders them as NameLess does, however
// long the start they share and whichever of them are the starts of others.
TEST(FileListBox, SortedNamesFollowTheListsOrderWhateverTheyShare) {
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    for (const std::string shared : {"", "x", "document-0", "IMG_00000000000_"}) {
        std::vector<std::string> names;
        for (int i = 0; i < 400; ++i) {
            std::string name = shared.substr(0, random() % (shared.size() + 1));
            for (std::size_t n = random() % 12; n > 0; --n)
                name.push_back("aAbB.\xe9_0"[random() % 9]);
            if (name.empty())
                name = "a";
            names.push_back(name);
            // Names that are the start of another one, and equal but for case.
            if (random() % 4 == 0)
                names.push_back(name + "b");
            if (random() % 4 == 0)
                names.push_back(AsciiLowered(name));
        }
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        std::shuffle(names.begin(), names.end(), random);
        std::vector<std::string> expected = names;
        std::stable_sort(expected.begin(), expected.end(), NameLess);
        SortNames(names);
        EXPECT_EQ(names, expected) << "shared start \"" << shared << "\", seed " << seed;
    }
}

} // namespace
} // namespace kelvane
