// SPDX-License-Identifier: GPL-3.0-or-later
// The password prompt on the controlling terminal (/dev/tty), without echo.
#pragma once

#include "cli/Password.h"

namespace kelvane::cli {

// While a prompt waits, Ctrl-C, Ctrl-\, a hang-up or a termination request
// first turns the echo back on and then ends the program as the signal would.
class TerminalPrompter : public PasswordPrompter {
public:
    bool Ask(const std::string& prompt, SecretString& answer, std::string& problem) override;
};

} // namespace kelvane::cli
