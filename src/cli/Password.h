// SPDX-License-Identifier: GPL-3.0-or-later
// Getting the password: from a file's first line or from the terminal,
// converted from UTF-8 to Windows-1252 as the desktop program stores it.
#pragma once

#include "crypto/Secret.h"

#include <cstddef>
#include <string>

namespace kelvane::cli {

// The longest password line read from a file, standard input or the
// terminal; an endless source (/dev/zero) is refused after this many bytes.
constexpr std::size_t kLongestPasswordLine = 1024;
static_assert(kSecretRoom >= kLongestPasswordLine + 2, "a line and its end fit the room");

enum class LineRead { Ok, Nothing, TooLong, Failed };

// The first line of the open file `fd` without its line end ("\n" or
// "\r\n"), read with read(2) one byte at a time, so no library buffer keeps a
// copy and nothing past the line is taken from a pipe. Nothing: not a byte
// could be read. TooLong: no line end within kLongestPasswordLine bytes.
LineRead ReadFirstLine(int fd, SecretString& line);

// Asks for a line on the terminal without showing what is typed.
class PasswordPrompter {
public:
    virtual ~PasswordPrompter() = default;
    // False, with a reason in `problem`, when there is no terminal or nothing
    // was entered.
    virtual bool Ask(const std::string& prompt, SecretString& answer, std::string& problem) = 0;
};

// Converts an entered password for use as a key; empty `problem` on success.
void ToKeyPassword(const SecretString& entered, SecretString& password, std::string& problem);

} // namespace kelvane::cli
