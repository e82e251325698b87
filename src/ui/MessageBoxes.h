// SPDX-License-Identifier: GPL-3.0-or-later
// The responder the program installs for ShowMessage: a real message box.
#pragma once

#include "platform/MessageSeam.h"

namespace kelvane {

int ShowMessageBox(const MessageRequest& request);

// Makes every ShowMessage of the program show a real message box.
void InstallMessageBoxes();

} // namespace kelvane
