#include "crypto/ResultMessages.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(ResultMessages, EveryFailureHasItsExactText) {
    const std::string name = "notes.txt";
    EXPECT_EQ(ResultMessageText(crOpenFailed, name), "Couldn`t open file \"notes.txt\".");
    EXPECT_EQ(ResultMessageText(crCreateFailed, name), "Couldn`t create new file.");
    EXPECT_EQ(ResultMessageText(crReadFailed, name), "Couldn`t read file \"notes.txt\".");
    EXPECT_EQ(ResultMessageText(crBadPassword, name),
              "Invalid password for the file \"notes.txt\"!");
    EXPECT_EQ(ResultMessageText(crNoMemory, name), "No memory.File \"notes.txt\" is too big.");
    EXPECT_EQ(ResultMessageText(crNotCrypted, name),
              "Cannot identify a file \"notes.txt\" as a valid crypted file");
    EXPECT_EQ(ResultMessageText(crAborted, name), "You have aborted processing \"notes.txt\".");
    EXPECT_EQ(ResultMessageText(crWriteFailed, name),
              "Processing file \"notes.txt\" have been aborted. Disk is full.");
}

TEST(ResultMessages, SuccessAndUnknownCodesShowNothing) {
    for (CryptResult code : {0, -1, -3, -4, -5, -6, -7, -8, -16, 1, 100})
        EXPECT_EQ(ResultMessageText(code, "x"), std::nullopt) << code;
}

TEST(ResultMessages, TheNameIsUsedAsGivenEvenWhenEmpty) {
    EXPECT_EQ(ResultMessageText(crReadFailed, ""), "Couldn`t read file \"\".");
    EXPECT_EQ(ResultMessageText(crCreateFailed, "whatever"), "Couldn`t create new file.");
    EXPECT_EQ(ResultMessageText(crOpenFailed, "/tmp/a b.cry"),
              "Couldn`t open file \"/tmp/a b.cry\".");
}

} // namespace
} // namespace kelvane
