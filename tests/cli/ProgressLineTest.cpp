// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressLine.h"

#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace kelvane::cli {
namespace {

constexpr uint64_t kMiB = 1 << 20;

class ProgressLineTest : public testing::Test {
protected:
    ProgressLine::Clock Clock() {
        return [this] { return now; };
    }
    // What the line shows now: the text after the last carriage return.
    std::string Shown() const {
        const std::string all = screen.str();
        return all.substr(all.rfind('\r') + 1);
    }

    double now = 100;
    std::ostringstream screen;
};

TEST_F(ProgressLineTest, ShowsBytesOfAllFilesThenRateAndTimeLeft) {
    ProgressLine line(screen, true, 100 * kMiB, Clock());
    auto first = line.ShareFor(60 * kMiB), second = line.ShareFor(40 * kMiB);
    now = 100.5;
    first->SetPosition(50);
    // Too early to foretell anything.
    EXPECT_EQ(Shown(), "[#######-----------------]  30%  30.0 MiB of 100.0 MiB\033[K");
    now = 102;
    second->SetPosition(50);
    EXPECT_EQ(
        Shown(),
        "[############------------]  50%  50.0 MiB of 100.0 MiB  25.0 MiB/s  0:02 left\033[K");
}

TEST(ProgressFitting, TheLineGivesUpTheEstimateThenTheBarToStayWithinTheTerminal) {
    const std::string bytes = "  50.0 MiB of 100.0 MiB", estimate = "  25.0 MiB/s  0:02 left";
    for (const auto& [columns, shown] : std::initializer_list<std::pair<std::size_t, std::string>>{
             {80, "[############------------]  50%  50.0 MiB of 100.0 MiB  25.0 MiB/s  0:02 left"},
             {60, "[############------------]  50%  50.0 MiB of 100.0 MiB"},
             {40, "[####-----]  50%  50.0 MiB of 100.0 MiB"},
             {30, " 50%  50.0 MiB of 100.0 MiB"},
             {20, " 50%"},
             {3, " 5"}}) {
        const std::string line = ProgressLine::Fitted(0.5, bytes, estimate, columns);
        EXPECT_EQ(line, shown) << columns;
        EXPECT_LT(line.size(), columns) << "the last column would wrap";
    }
}

TEST_F(ProgressLineTest, RedrawsAtMostTenTimesASecondButAlwaysAtTheEnd) {
    ProgressLine line(screen, true, 100, Clock());
    auto share = line.ShareFor(100);
    share->SetPosition(1);
    const std::size_t drawn = screen.str().size();
    now += 0.05;
    for (int p = 2; p < 100; ++p)
        share->SetPosition(p);
    EXPECT_EQ(screen.str().size(), drawn);
    share->SetPosition(100);
    EXPECT_NE(Shown().find("100%  100 B of 100 B"), std::string::npos) << Shown();
}

TEST_F(ProgressLineTest, MessagesLiftTheBarOutOfTheirWayAndFinishErasesIt) {
    std::ostringstream out;
    ProgressLine line(screen, true, 10 * kMiB, Clock());
    auto share = line.ShareFor(10 * kMiB);
    share->SetPosition(40);
    line.WriteLines(screen, "a message\n");
    const std::string all = screen.str();
    // Erased, the message on a clean row, the bar drawn again below it.
    EXPECT_NE(all.find("\r\033[Ka message\n\r[#########"), std::string::npos) << all;
    line.WriteLines(out, "to standard output\n");
    EXPECT_EQ(out.str(), "to standard output\n");
    line.Finish();
    EXPECT_TRUE(screen.str().ends_with("\r\033[K"));
    share->SetPosition(90);
    EXPECT_TRUE(screen.str().ends_with("\r\033[K")) << "nothing drawn after the end";
}

TEST_F(ProgressLineTest, ADisabledLineWritesOnlyTheMessages) {
    ProgressLine line(screen, false, 100, Clock());
    auto share = line.ShareFor(100);
    share->SetPosition(50);
    line.WriteLines(screen, "only this\n");
    share->Close();
    line.Finish();
    EXPECT_EQ(screen.str(), "only this\n");
}

TEST_F(ProgressLineTest, AClosedFileCountsWholeAndSharesAddUpFromManyThreads) {
    ProgressLine line(screen, true, 8 * 1000, Clock());
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&line] {
            auto share = line.ShareFor(1000);
            for (int p = 0; p <= 37; ++p)
                share->SetPosition(p);
            share->Close(); // a failed file: the rest of its share passes
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_NE(Shown().find("100%  7.8 KiB of 7.8 KiB"), std::string::npos) << Shown();
}

TEST(ProgressFigures, BytesAndDurationsReadNaturally) {
    EXPECT_EQ(ProgressLine::Bytes(0), "0 B");
    EXPECT_EQ(ProgressLine::Bytes(1023), "1023 B");
    EXPECT_EQ(ProgressLine::Bytes(1536), "1.5 KiB");
    EXPECT_EQ(ProgressLine::Bytes(3.0 * (1ull << 30)), "3.0 GiB");
    EXPECT_EQ(ProgressLine::Duration(7.4), "0:07");
    EXPECT_EQ(ProgressLine::Duration(59.6), "1:00");
    EXPECT_EQ(ProgressLine::Duration(3723), "1:02:03");
}

} // namespace
} // namespace kelvane::cli
