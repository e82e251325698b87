// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CryptPipeline.h"

#include <gtest/gtest.h>

namespace kelvane::detail {
namespace {

constexpr int64_t kMiB = int64_t{1} << 20;

// Publishes `pieces` pieces of `piece` bytes and returns how many times the
// sleepers were woken.
uint64_t WakeUpsFor(RunProgress& progress, int64_t piece, int pieces) {
    const uint64_t before = progress.Version();
    for (int i = 1; i <= pieces; ++i)
        progress.Publish(progress.read, i * piece, i == pieces);
    return progress.Version() - before;
}

TEST(RunProgress, SleepersAreWokenOncePerStrideAndAtTheLastPieceNotAtEveryPiece) {
    RunProgress progress;
    progress.SetStride(kMiB);
    // 64 MiB in pieces of 256 KiB: 64 stride crossings, the last piece among them.
    EXPECT_EQ(WakeUpsFor(progress, 256 * 1024, 256), 64u);

    RunProgress ragged;
    ragged.SetStride(kMiB);
    // A last piece short of a stride still wakes the stages waiting for the end.
    EXPECT_EQ(WakeUpsFor(ragged, 1000, 10), 1u);
}

TEST(RunProgress, ProgressHeldBackIsAnnouncedOnceBeforeAWorkerSleeps) {
    RunProgress progress;
    progress.SetStride(kMiB);
    progress.AnnouncePending();
    EXPECT_EQ(progress.Version(), 0u) << "nothing was published";

    progress.Publish(progress.checked, 4096, false);
    EXPECT_EQ(progress.Version(), 0u);
    progress.AnnouncePending();
    EXPECT_EQ(progress.Version(), 1u);
    progress.AnnouncePending();
    EXPECT_EQ(progress.Version(), 1u) << "already announced";
}

TEST(EventPacer, WithoutAnEventHookTheConductorSleepsInsteadOfSpinning) {
    CryptHooks hooks;
    hooks.eventBudget = std::chrono::microseconds{1};
    const EventPacer idle(hooks);
    EXPECT_GE(idle.TimeLeft(), std::chrono::milliseconds{1});

    hooks.letEventsRun = [] {};
    const EventPacer pumping(hooks);
    EXPECT_LE(pumping.TimeLeft(), hooks.eventBudget);
}

TEST(PauseGate, PausesNestAndAClosedGateLetsAStoppedRunEnd) {
    PauseGate gate;
    gate.Pause();
    gate.Pause();
    gate.Resume();
    EXPECT_TRUE(gate.Paused()) << "the outer pause still holds";
    // A worker of a run that has ended is let go, not let through.
    EXPECT_FALSE(gate.Enter([] { return true; }));
    gate.Resume();
    EXPECT_FALSE(gate.Paused());
    ASSERT_TRUE(gate.Enter([] { return false; }));
    gate.Leave();

    // A null gate is nobody's: holding it changes nothing.
    { const PauseGate::Hold none(nullptr); }
    {
        const PauseGate::Hold hold(&gate);
        EXPECT_TRUE(gate.Paused());
    }
    EXPECT_FALSE(gate.Paused());
}

} // namespace
} // namespace kelvane::detail
