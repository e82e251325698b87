// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/RunAhead.h"

#include <algorithm>
#include <future>
#include <gtest/gtest.h>
#include <vector>

namespace kelvane {
namespace {

using Ending = RunAhead::Ending;

// The first run is held until the last has run on the other worker. What
// the user is told still comes in the order the files were handed over, each
// with its own run's result.
TEST(RunAheadTest, RunsAreToldInTheOrderHandedOverWhateverOrderTheyEnd) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<int> told;
    std::vector<uint64_t> numbers;
    {
        RunAhead ahead(2, 8);
        ahead.onTold = [&](uint64_t number, Ending ending) {
            numbers.push_back(number);
            EXPECT_EQ(ending, Ending::Deferred);
        };
        auto tell = [&told](int file) {
            return [&told, file](CryptResult result) {
                told.push_back(file);
                EXPECT_EQ(result, file == 0 ? crOk : crReadFailed);
                return Ending::Deferred;
            };
        };
        ahead.Add({[released] {
                       released.wait();
                       return crOk;
                   },
                   tell(0)});
        ahead.Add({[] { return crReadFailed; }, tell(1)});
        ahead.Add({[&release] {
                       release.set_value();
                       return crReadFailed;
                   },
                   tell(2)});
        // However far the runs got, those told so far are the first ones.
        ahead.Tell();
        const std::vector<int> inOrder{0, 1, 2};
        ASSERT_LE(told.size(), inOrder.size());
        EXPECT_TRUE(std::equal(told.begin(), told.end(), inOrder.begin()));
        ahead.Settle();
        EXPECT_FALSE(ahead.Pending());
        EXPECT_EQ(ahead.Handed(), 3u);
    }
    EXPECT_EQ(told, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(numbers, (std::vector<uint64_t>{0, 1, 2}));
}

// With as many runs untold as it may hold, the next one is handed over only
// once the oldest is told: the descriptors the runs hold stay bounded.
TEST(RunAheadTest, AFullQueueTellsTheOldestBeforeTakingAnother) {
    std::vector<int> told;
    RunAhead ahead(1, 2);
    for (int file = 0; file < 3; ++file)
        ahead.Add({[] { return crOk; },
                   [&told, file](CryptResult) {
                       told.push_back(file);
                       return Ending::NotWritten;
                   }});
    EXPECT_EQ(told, std::vector<int>{0});
    ahead.Settle();
    EXPECT_EQ(told, (std::vector<int>{0, 1, 2}));
}

} // namespace
} // namespace kelvane
