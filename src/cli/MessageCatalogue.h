// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli speaks the user's language through gettext: its catalogues lie
// beside the program, in ../share/locale, in the build tree as installed.
#pragma once

#include <cstddef>
#include <string_view>

namespace kelvane::cli {

// Takes the language from the environment (LC_MESSAGES, and LC_CTYPE for
// the terminal's characters; never LC_NUMERIC, so figures keep their form)
// and hands every text to the catalogue. Called at start, before any thread.
void UseMessageCatalogue();

// The columns `text` takes on a terminal: a letter of several UTF-8 bytes
// takes one, as the translations' do.
std::size_t TextColumns(std::string_view text);

} // namespace kelvane::cli
