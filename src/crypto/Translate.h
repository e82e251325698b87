// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the program shows goes through Tr. The window hands it to Qt's
// translator and the command line to gettext; each sets its hook once at
// start, before any thread runs. Without a hook, or without a translation,
// the English source text is the text, so the program's own texts reach the
// user character for character as they are written here.
//
// A context names where a text is shown ("DelDialog", "cli"), so the same
// English words can be translated differently in two places. Texts that take
// values say where with %1 to %9 and are filled by FormatText after the
// translation, so a translator can move the values within the sentence.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text for the catalogues where it is written, for tables of texts
// that are translated later, where they are shown.
#define KELVANE_TR_NOOP(context, text) text

namespace kelvane {

// The translation of `text` in `context`, as UTF-8. Returns `text` itself
// when there is none.
using TranslateHook = std::string (*)(const char* context, const char* text);

void SetTranslateHook(TranslateHook hook) noexcept;

std::string Tr(const char* context, const char* text);

// `pattern` with each %1 to %9 replaced by the value of that number, in one
// pass: a value that itself holds "%1" (a file name may) is kept as it is.
// A number with no value, and any other %, stay as written.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values);

} // namespace kelvane
