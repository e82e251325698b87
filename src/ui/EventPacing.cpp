// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EventPacing.h"

#include <QCoreApplication>

namespace kelvane {
namespace {

using Clock = std::chrono::steady_clock;

// A couple of frames at 60 Hz: smooth enough for bars and lists, and
// "Cancel process" still answers at once.
constexpr std::chrono::microseconds kProgramBudget{30000};
std::chrono::microseconds budget = kProgramBudget;
Clock::time_point lastRun{};

} // namespace

void LetWindowEventsRun() {
    const Clock::time_point now = Clock::now();
    if (budget.count() > 0 && now - lastRun < budget)
        return;
    QCoreApplication::processEvents();
    lastRun = Clock::now();
}

bool WindowEventsDue() {
    return budget.count() <= 0 || Clock::now() - lastRun >= budget;
}

void SetWindowEventBudget(std::chrono::microseconds newBudget) {
    budget = newBudget;
}

void ResetWindowEventPacing() {
    budget = kProgramBudget;
    lastRun = {};
}

} // namespace kelvane
