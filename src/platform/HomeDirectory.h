// SPDX-License-Identifier: GPL-3.0-or-later
// The user's home folder, for the files the program keeps per user.
#pragma once

#include <string>

namespace kelvane {

// $HOME when it is an absolute path, else the password database's entry;
// empty when neither says.
std::string HomeDirectory();

} // namespace kelvane
