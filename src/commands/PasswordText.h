// Passwords are keys of 8-bit characters: the dialogs' text becomes
// Windows-1252 bytes, one per character, so a crypted file opens with the
// same password on every system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

constexpr std::size_t kPasswordMinLength = 6;
constexpr std::size_t kPasswordMaxLength = 8;

// Replaces `bytes` with the text in Windows-1252. False, with `bytes` left
// empty, when a character has no place in that code page.
bool ToWindows1252(std::u16string_view text, std::string& bytes);

// 6 to 8 characters, every one of them in Windows-1252: the only passwords the
// dialogs let through. A character outside the code page counts as a wrong
// length, so nothing is ever silently dropped from a key.
bool AcceptablePassword(std::u16string_view text);

} // namespace kelvane
