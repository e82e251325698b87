// SPDX-License-Identifier: GPL-3.0-or-later
// The system's words for an errno value, safe to ask from any thread.
#pragma once

#include <string>

namespace kelvane {

// What strerror says, without its shared buffer: jobs and the batch
// committer describe their failures side by side.
std::string ErrorText(int error);

} // namespace kelvane
