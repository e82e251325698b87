// SPDX-License-Identifier: GPL-3.0-or-later
// Getting the password: from a file's first line or from the terminal,
// converted from UTF-8 to Windows-1252 as the desktop program stores it.
#pragma once

#include <cstddef>
#include <string>

namespace kelvane::cli {

// The longest password line read from a file, standard input or the
// terminal; an endless source (/dev/zero) is refused after this many bytes.
constexpr std::size_t kLongestPasswordLine = 1024;

// A string that is overwritten with zeros when it goes away. Its room is
// taken once for the longest line, so growing it never leaves a copy behind.
class SecretText {
public:
    SecretText() { text_.reserve(kLongestPasswordLine + 2); }
    ~SecretText() { Wipe(); }
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;

    std::string& Text() { return text_; }
    const std::string& Text() const { return text_; }
    void Wipe();

private:
    std::string text_;
};

enum class LineRead { Ok, Nothing, TooLong, Failed };

// The first line of the open file `fd` without its line end ("\n" or
// "\r\n"), read with read(2) one byte at a time, so no library buffer keeps a
// copy and nothing past the line is taken from a pipe. Nothing: not a byte
// could be read. TooLong: no line end within kLongestPasswordLine bytes.
LineRead ReadFirstLine(int fd, SecretText& line);

// Asks for a line on the terminal without showing what is typed.
class PasswordPrompter {
public:
    virtual ~PasswordPrompter() = default;
    // False, with a reason in `problem`, when there is no terminal or nothing
    // was entered.
    virtual bool Ask(const std::string& prompt, SecretText& answer, std::string& problem) = 0;
};

// Converts an entered password for use as a key; empty `problem` on success.
void ToKeyPassword(const SecretText& entered, SecretText& password, std::string& problem);

} // namespace kelvane::cli
