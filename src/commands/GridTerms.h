// SPDX-License-Identifier: GPL-3.0-or-later
// The words the commands and the main window share about the two file lists
// and the status line.
#pragma once

#include "crypto/Translate.h"

namespace kelvane {

enum class FileGrid {
    Plain,  // "Available for encryption"
    Crypted // "Crypted files"
};

// The first and last selected rows of a grid, both included; files start
// at row 1.
struct RowSpan {
    int Top = 1;
    int Bottom = 1;
};

// Status texts, translated where they are shown.
inline constexpr const char* kIdleText = KELVANE_TR_NOOP("Status", "Idle.");
inline constexpr const char* kWaitTillFinished =
    KELVANE_TR_NOOP("Status", "Wait till process is finished.");

} // namespace kelvane
