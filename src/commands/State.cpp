// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/State.h"

namespace kelvane {

SharedState TheSharedState;

bool Busy() {
    return EncryptBusy || DecryptBusy || TreeBusy || DeleteBusy || SelectionBusy;
}

void ResetSharedState() {
    // The remembered password's room is wiped as the fresh state moves in.
    TheSharedState = SharedState{};
    ResetEngineState();
}

} // namespace kelvane
