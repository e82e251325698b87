// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Translate.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(Translate, ValuesFillTheirNumbersInOnePass) {
    struct Row {
        const char* pattern;
        std::initializer_list<std::string_view> values;
        const char* expected;
    };
    const Row rows[] = {
        {"File \"%1\" is fisically not found", {"a.txt"}, "File \"a.txt\" is fisically not found"},
        {"%2 of %1", {"10", "3"}, "3 of 10"},
        // A file name that holds a number is not filled again.
        {"Open \"%1\"? %2", {"%2.txt", "yes"}, "Open \"%2.txt\"? yes"},
        {"100% done, %3 %", {"a"}, "100% done, %3 %"},
        {"ends in %", {}, "ends in %"},
        {"%1%1", {"x"}, "xx"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatText(row.pattern, row.values), row.expected) << row.pattern;
}

TEST(Translate, TheHookTranslatesAndNoHookKeepsTheSourceText) {
    EXPECT_EQ(Tr("ctx", "Encrypt"), "Encrypt");
    SetTranslateHook(
        [](const char* context, const char* text) { return std::string(context) + ":" + text; });
    EXPECT_EQ(Tr("ctx", "Encrypt"), "ctx:Encrypt");
    SetTranslateHook(nullptr);
    EXPECT_EQ(Tr("ctx", "Encrypt"), "Encrypt");
}

} // namespace
} // namespace kelvane
