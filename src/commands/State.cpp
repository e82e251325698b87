// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/State.h"

#include "crypto/SecureWipe.h"

namespace kelvane {

bool EncryptBusy = false;
bool DecryptBusy = false;
bool TreeBusy = false;
bool DeleteBusy = false;
bool SelectionBusy = false;

bool Busy() {
    return EncryptBusy || DecryptBusy || TreeBusy || DeleteBusy || SelectionBusy;
}

bool FirstOfList = false;
bool RunOfFiles = false;
bool PasswordRefused = false;
bool HavePassword = false;
std::string RememberedPassword;

std::array<OpenFileSlot, kOpenFileSlots> OpenFiles;
int32_t OpenCount = 0;

void ResetSharedState() {
    EncryptBusy = DecryptBusy = TreeBusy = DeleteBusy = SelectionBusy = false;
    CancelRequested = false;
    FirstOfList = false;
    RunOfFiles = false;
    PasswordRefused = false;
    HavePassword = false;
    SecureWipe(RememberedPassword.data(), RememberedPassword.size());
    RememberedPassword.clear();
    for (OpenFileSlot& slot : OpenFiles)
        slot = OpenFileSlot{};
    OpenCount = 0;
}

} // namespace kelvane
