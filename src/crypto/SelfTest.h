// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvane {

// Checks the cipher and the checksum against known answers. A build whose
// cipher is wrong would write files nobody can read back; both programs
// refuse to start when this fails.
bool CryptoSelfTest();

} // namespace kelvane
