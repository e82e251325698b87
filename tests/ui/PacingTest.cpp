// SPDX-License-Identifier: GPL-3.0-or-later
// What keeps a run over many small files from being mostly painting: the
// bars show the engine's latest position when the window next runs its
// events, and those runs are spaced out.
#include "ui/Controls.h"
#include "ui/EventPacing.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(PacingTest, BarKeepsTheLatestPositionAndShowsItWhenEventsRun) {
    TProgressBar bar;
    bar.SetPosition(40);
    bar.SetPosition(41);
    EXPECT_EQ(bar.Position(), 41); // what the engine reads back at once
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.value(), 41);
    bar.SetPosition(150);
    bar.SetPosition(-3);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.value(), 0);
}

TEST(PacingTest, EventsRunAtMostOncePerBudgetAndAtEveryCallWithoutOne) {
    int fired = 0;
    SetWindowEventBudget(std::chrono::hours(1));
    LetWindowEventsRun(); // now or earlier, a run has started the budget
    QTimer::singleShot(0, [&fired] { ++fired; });
    LetWindowEventsRun();
    EXPECT_EQ(fired, 0);

    SetWindowEventBudget(std::chrono::microseconds(0));
    LetWindowEventsRun();
    EXPECT_EQ(fired, 1);
    QTimer::singleShot(0, [&fired] { ++fired; });
    LetWindowEventsRun();
    EXPECT_EQ(fired, 2);
}

} // namespace
} // namespace kelvane
