// SPDX-License-Identifier: GPL-3.0-or-later
// What kelvane-cli's exit status tells a script.
#pragma once

#include <array>
#include <string_view>

namespace kelvane::cli {

constexpr int kExitDone = 0;          // every FILE done
constexpr int kExitFailed = 1;        // some FILE failed
constexpr int kExitUsage = 2;         // the command line or the password was unusable
constexpr int kExitWrongPassword = 3; // the only failures were a password the key check refused
constexpr int kExitBroken = 4;        // the cipher's self-test failed: this build must not be used
// verify or info: every FILE done, but some stored length is more than a
// block short of the data that follows it (a damaged length field).
constexpr int kExitLengthWarning = 5;
constexpr int kExitSignalBase = 128; // + the signal that cancelled the run: 130 for Ctrl-C

struct ExitCodeSpec {
    std::string_view code;
    std::string_view meaning;
};

// For the usage text and the manual page.
constexpr std::array<ExitCodeSpec, 7> kExitCodes{{
    {"0", "every FILE was done"},
    {"1", "some FILE failed; the others were done"},
    {"2", "the command line or the password was unusable; nothing was done"},
    {"3", "the only failures were a wrong password (refused by the key check)"},
    {"4", "the program's cipher self-test failed; this build must not be used"},
    {"5", "verify or info: a stored length is more than a block short of its data"},
    {"128+N", "cancelled by signal N: 130 Ctrl-C (SIGINT), 129 SIGHUP, 143 SIGTERM"},
}};

} // namespace kelvane::cli
