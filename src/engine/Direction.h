// SPDX-License-Identifier: GPL-3.0-or-later
// Which way a run takes its files. The window's commands encrypt and
// decrypt; the command-line program also verifies and converts.
#pragma once

namespace kelvane {

enum class Direction { Encrypt, Decrypt, Verify, Convert };

} // namespace kelvane
