// SPDX-License-Identifier: GPL-3.0-or-later
// Letting the window's pending events run from inside long work: clicks,
// timers and repainting, but no more often than every couple of display
// frames.
// Every run repaints what changed since the last one, and a run over
// thousands of small files changes the bars, the grids and the folder list
// many times a millisecond; painting each of those states costs far more
// than the files themselves and shows nothing a user could see.
#pragma once

#include <chrono>

namespace kelvane {

// Runs the pending events unless they ran less than the budget ago.
void LetWindowEventsRun();
// Whether the next call would run them.
bool WindowEventsDue();

// The least time between two runs. Zero runs them at every call, as tests
// that press a button at a chosen moment need.
void SetWindowEventBudget(std::chrono::microseconds budget);

// The budget back to the program's own, and the next call runs the events.
void ResetWindowEventPacing();

} // namespace kelvane
