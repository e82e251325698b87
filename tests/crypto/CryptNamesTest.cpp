// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/CryptNames.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(CryptNames, EncryptionAppendsLowerCaseCry) {
    EXPECT_EQ(EncryptedNameOf("Notes.TXT"), "Notes.TXT.cry");
    EXPECT_EQ(EncryptedNameOf("dir/a"), "dir/a.cry");
}

TEST(CryptNames, DecryptionDropsTheLastFourCharactersOfAnyCaseOfCry) {
    EXPECT_EQ(DecryptedNameOf("notes.txt.cry"), "notes.txt");
    EXPECT_EQ(DecryptedNameOf("dir/Notes.CrY"), "dir/Notes");
    EXPECT_EQ(DecryptedNameOf("x.cry.cry"), "x.cry");
}

TEST(CryptNames, DecryptionFindsNoNameWithoutCryOrWithNothingBeforeIt) {
    for (const char* name : {"notes.txt", "cry", ".cry", "dir/.cry", "notes.cryx", "notescry"})
        EXPECT_EQ(DecryptedNameOf(name), std::nullopt) << name;
}

TEST(CryptNames, TheExtensionTestIgnoresCaseAndLooksAtTheLastComponentOnly) {
    for (const char* name : {"a.cry", "A.CRY", "b.Cry", ".cry", "dir.x/a.cRy"})
        EXPECT_TRUE(HasCryExtension(name)) << name;
    for (const char* name : {"a.cryx", "acry", "a.cr", "a.cry/b", "a.cry.txt", "dir.cry/", ""})
        EXPECT_FALSE(HasCryExtension(name)) << name;
    // Names with bytes above 7Fh are never lower-cased into a match.
    EXPECT_FALSE(HasCryExtension("a.\xC3\x87RY"));
}

TEST(CryptNames, EveryNameEncryptionMakesIsOneDecryptionUndoes) {
    for (const char* plain : {"a", "A.CRY", "dir/x y", ".hidden", "a.cry"}) {
        const std::string crypted = EncryptedNameOf(plain);
        EXPECT_TRUE(HasCryExtension(crypted)) << plain;
        EXPECT_EQ(DecryptedNameOf(crypted), plain);
    }
}

TEST(CryptNames, TheTooLongTextNamesTheFileAndJoinsItsSentences) {
    EXPECT_EQ(NameTooLongText("x.cry", "\r"),
              "Cannot generate crypted file \"x.cry\".\rFile name is too long.");
    EXPECT_EQ(NameTooLongText("", " "),
              "Cannot generate crypted file \"\". File name is too long.");
}

} // namespace
} // namespace kelvane
