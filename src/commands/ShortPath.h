// SPDX-License-Identifier: GPL-3.0-or-later
// Shortens a directory path to fit a width, the way the directory list's
// path label shows it: the leading folders give way to "..." one at a time
// (/.../Projects/Letters), then the root goes (.../Letters), and last the
// "..." (Letters).
#pragma once

#include <functional>
#include <string>

namespace kelvane {

using TextWidth = std::function<int(const std::string&)>;

std::string MinimizePath(const std::string& path, int maxWidth, const TextWidth& widthOf);

} // namespace kelvane
