// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(Paths, DirectoryAndNameParts) {
    EXPECT_EQ(DirectoryPart("/home/ann/letter.doc"), "/home/ann/");
    EXPECT_EQ(NamePart("/home/ann/letter.doc"), "letter.doc");
    EXPECT_EQ(DirectoryPart("/letter.doc"), "/");
    EXPECT_EQ(DirectoryPart("letter.doc"), "");
    EXPECT_EQ(NamePart("letter.doc"), "letter.doc");
    EXPECT_EQ(DirectoryPart("/home/ann/"), "/home/ann/");
    EXPECT_EQ(NamePart("/home/ann/"), "");
}

TEST(Paths, TheExtensionStartsAtTheLastDotOfTheLastComponent) {
    EXPECT_EQ(ExtensionOf("letter.doc.cry"), ".cry");
    EXPECT_EQ(ExtensionOf("archive.cry.txt"), ".txt");
    EXPECT_EQ(ExtensionOf(".cry"), ".cry");
    EXPECT_EQ(ExtensionOf("NOTES.CRY"), ".CRY");
    EXPECT_EQ(ExtensionOf("trailing."), ".");
    EXPECT_EQ(ExtensionOf("README"), "");
    EXPECT_EQ(ExtensionOf("/home/ann.d/README"), "");
    EXPECT_EQ(ExtensionOf("/home/ann.d/notes.txt"), ".txt");
}

TEST(Paths, OnlyTheRootIsTheRoot) {
    EXPECT_TRUE(IsRootDirectory("/"));
    EXPECT_TRUE(IsRootDirectory("//"));
    EXPECT_FALSE(IsRootDirectory(""));
    EXPECT_FALSE(IsRootDirectory("/a")); // three characters or fewer, yet no root
    EXPECT_FALSE(IsRootDirectory("/home"));
}

TEST(Paths, JoiningPutsExactlyOneSeparatorBetween) {
    EXPECT_EQ(JoinPath("/home/ann", "a.txt"), "/home/ann/a.txt");
    EXPECT_EQ(JoinPath("/home/ann/", "a.txt"), "/home/ann/a.txt");
    EXPECT_EQ(JoinPath("/", "a.txt"), "/a.txt");
    EXPECT_EQ(JoinPath("/home", "/a.txt"), "/home/a.txt");
    EXPECT_EQ(JoinPath("", "a.txt"), "a.txt");
}

TEST(Paths, ANameTooLongCountsBytesOfTheLastComponentOnly) {
    const std::string longest(kMaxNameBytes, 'n');
    EXPECT_FALSE(NameTooLong("/dir/" + longest));
    EXPECT_TRUE(NameTooLong("/dir/" + longest + "x"));
    EXPECT_FALSE(NameTooLong(std::string(300, 'd') + "/short"));
    // Two-byte characters count twice.
    std::string umlauts;
    for (int i = 0; i < 128; ++i)
        umlauts += "\xC3\xBC";
    EXPECT_TRUE(NameTooLong(umlauts));
}

} // namespace
} // namespace kelvane
