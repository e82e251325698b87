// SPDX-License-Identifier: GPL-3.0-or-later
// Which list a file goes to, how it is shown there, and finding it again.
#include "commands/FileLists.h"

#include "crypto/CryptNames.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

std::vector<std::string> Names(const std::vector<ListedFile>& files, bool shown) {
    std::vector<std::string> names;
    for (const ListedFile& f : files)
        names.push_back(shown ? f.Name : f.FileName);
    return names;
}

TEST(FileListsTest, OnlyTheLastExtensionDecidesInAnyCase) {
    for (const char* crypted : {"a.cry", "NOTES.CRY", "x.Cry", ".cry", "a.b.cry"})
        EXPECT_TRUE(HasCryExtension(crypted)) << crypted;
    for (const char* plain : {"archive.cry.txt", "cry", "a.cryx", "a.cr", "acry", ""})
        EXPECT_FALSE(HasCryExtension(plain)) << plain;
}

TEST(FileListsTest, SplitKeepsTheOrderAndTheNameOnDisk) {
    const std::vector<std::string> names = {".cry", "a.txt", "a.txt.cry", "B.CRY", "c"};
    const SplitLists off = SplitByExtension(names, false);
    EXPECT_EQ(Names(off.Plain, true), (std::vector<std::string>{"a.txt", "c"}));
    EXPECT_EQ(Names(off.Plain, false), (std::vector<std::string>{"a.txt", "c"}));
    EXPECT_EQ(Names(off.Crypted, true), (std::vector<std::string>{"", "a.txt", "B"}));
    EXPECT_EQ(Names(off.Crypted, false), (std::vector<std::string>{".cry", "a.txt.cry", "B.CRY"}));

    const SplitLists on = SplitByExtension(names, true);
    EXPECT_EQ(Names(on.Crypted, true), Names(on.Crypted, false));
}

TEST(FileListsTest, ShownNamesMatchExactlyFirstThenIgnoringCase) {
    const SplitLists lists = SplitByExtension({"cap.CRY", "Cap.cry"}, false);
    ASSERT_NE(FindShown(lists.Crypted, "Cap"), nullptr);
    EXPECT_EQ(FindShown(lists.Crypted, "Cap")->FileName, "Cap.cry");
    EXPECT_EQ(FindShown(lists.Crypted, "cap")->FileName, "cap.CRY");
    EXPECT_EQ(FindShown(lists.Crypted, "CAP")->FileName, "cap.CRY");
    EXPECT_EQ(FindShown(lists.Crypted, "cap.cry"), nullptr);
}

TEST(FileListsTest, FileNamesMatchOnlyAsSpelledOnDisk) {
    const SplitLists lists = SplitByExtension({"Notes", "notes.cry"}, false);
    EXPECT_NE(FindFileNamed(lists.Crypted, "notes.cry"), nullptr);
    EXPECT_EQ(FindFileNamed(lists.Crypted, "Notes.cry"), nullptr);
    EXPECT_EQ(FindFileNamed(lists.Crypted, "notes"), nullptr); // the shown name is no file name
    EXPECT_NE(FindFileNamed(lists.Plain, "Notes"), nullptr);
    EXPECT_EQ(FindFileNamed(lists.Plain, "notes"), nullptr);
}

} // namespace
} // namespace kelvane
