// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace kelvane {

// Overwrites secrets with zeros in a way the optimiser may not drop.
void SecureWipe(void* data, std::size_t size);

} // namespace kelvane
