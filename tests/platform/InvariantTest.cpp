// SPDX-License-Identifier: GPL-3.0-or-later
// The internal check stops the program, naming the condition and its place,
// in the build the tests run in, which defines NDEBUG like every release.
#include "platform/Invariant.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(InvariantDeathTest, ABrokenConditionAbortsWithItsTextAndPlace) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const int chunks = 2;
    EXPECT_DEATH(KELVANE_INVARIANT(chunks == 3),
                 "InvariantTest\\.cpp:[0-9]+: internal check failed: chunks == 3");
}

TEST(Invariant, AConditionThatHoldsIsEvaluatedOnceAndLetsThrough) {
    int evaluated = 0;
    KELVANE_INVARIANT(++evaluated == 1);
    EXPECT_EQ(evaluated, 1);
}

} // namespace
} // namespace kelvane
