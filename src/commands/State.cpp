// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/State.h"

#include "crypto/SecureWipe.h"

namespace kelvane {

SharedState TheSharedState;

bool Busy() {
    return EncryptBusy || DecryptBusy || TreeBusy || DeleteBusy || SelectionBusy;
}

void ResetSharedState() {
    SecureWipe(RememberedPassword.data(), RememberedPassword.size());
    TheSharedState = SharedState{};
    ResetEngineState();
}

} // namespace kelvane
