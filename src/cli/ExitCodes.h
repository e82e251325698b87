// SPDX-License-Identifier: GPL-3.0-or-later
// What kelvane-cli's exit status tells a script.
#pragma once

#include "crypto/Translate.h"

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
    // TRANSLATORS: what an exit status means; FILE and N stay as they are.
    {"0", KELVANE_TR_NOOP("cli", "every FILE was done")},
    {"1", KELVANE_TR_NOOP("cli", "some FILE failed; the others were done")},
    {"2",
     KELVANE_TR_NOOP("cli", "the command line or the password was unusable; nothing was done")},
    {"3",
     KELVANE_TR_NOOP("cli", "the only failures were a wrong password (refused by the key check)")},
    {"4",
     KELVANE_TR_NOOP("cli", "the program's cipher self-test failed; this build must not be used")},
    {"5", KELVANE_TR_NOOP(
              "cli", "verify or info: a stored length is more than a block short of its data")},
    {"128+N",
     KELVANE_TR_NOOP("cli", "cancelled by signal N: 130 Ctrl-C (SIGINT), 129 SIGHUP, 143 SIGTERM")},
}};

} // namespace kelvane::cli
