// SPDX-License-Identifier: GPL-3.0-or-later
// The words the commands and the main window share about the two file lists
// and the status line.
#pragma once

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

inline constexpr const char* kIdleText = "Idle.";
inline constexpr const char* kWaitTillFinished = "Wait till process is finished.";

} // namespace kelvane
