// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowState.h"

#include "commands/State.h"
#include "ui/EventPacing.h"

namespace kelvane {

void ResetWindowState() {
    ResetSharedState();
    ResetWindowEventPacing();
}

} // namespace kelvane
