// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' share of the state the program keeps for the whole run: the
// pacing of event runs. The rest lives below, in SharedState
// (commands/State.h), which the windows may see but not the other way round.
#pragma once

namespace kelvane {

// Puts everything ResetSharedState covers back, and the windows' pacing with
// it: the one call a window test needs between cases.
void ResetWindowState();

} // namespace kelvane
