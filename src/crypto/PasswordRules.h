// SPDX-License-Identifier: GPL-3.0-or-later
// What makes a password usable as a key, for the window and kelvane-cli
// alike: 6 to 8 characters of Windows-1252, one byte per character, so a
// crypted file opens with the same password on every system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr std::size_t kPasswordMinLength = 6;
inline constexpr std::size_t kPasswordMaxLength = 8;

enum class PasswordCheck {
    Ok,
    NotUtf8,            // the bytes are not UTF-8 text at all
    OutsideWindows1252, // a character the code page lacks
    HasZero,            // would end the key early
    WrongLength,
};

// Replaces `key` with the password in Windows-1252 and checks it. On anything
// but Ok, `key` is wiped and left empty, so a refused password leaves no copy.
// The conversion writes straight into `key`: no temporary holds the password.
PasswordCheck ToKeyBytes(std::string_view utf8, std::string& key);
PasswordCheck ToKeyBytes(std::u16string_view text, std::string& key);

// The same checks without keeping anything.
PasswordCheck CheckPassword(std::u16string_view text);

// The user's reason for a refused password; empty for Ok.
std::string PasswordProblemText(PasswordCheck check);

// The distinct characters of `text` that Windows-1252 lacks, in order of
// first appearance, as UTF-8; empty when every character can be used.
std::string CharactersOutsideWindows1252(std::u16string_view text);

} // namespace kelvane
