// Getting the password: from a file's first line or from the terminal,
// converted from UTF-8 to Windows-1252 as the desktop program stores it.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane::cli {

// A string that is overwritten with zeros when it goes away.
class SecretText {
public:
    SecretText() { text_.reserve(256); } // few reallocations leave fewer copies behind
    ~SecretText() { Wipe(); }
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;

    std::string& Text() { return text_; }
    const std::string& Text() const { return text_; }
    void Wipe();

private:
    std::string text_;
};

// One byte per character; nothing when `utf8` is not valid UTF-8 or holds a
// character Windows-1252 lacks.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// The first line of `in` without its line end ("\n" or "\r\n"). False when
// nothing at all could be read.
bool ReadFirstLine(std::istream& in, SecretText& line);

// Asks for a line on the terminal without showing what is typed.
class PasswordPrompter {
public:
    virtual ~PasswordPrompter() = default;
    // False, with a reason in `problem`, when there is no terminal or nothing
    // was entered.
    virtual bool Ask(const std::string& prompt, SecretText& answer, std::string& problem) = 0;
};

constexpr std::size_t kPasswordMinLength = 6;
constexpr std::size_t kPasswordMaxLength = 8;

// Converts an entered password for use as a key; empty `problem` on success.
// A character Windows-1252 lacks counts as a wrong-length entry, as in the
// desktop dialogs.
void ToKeyPassword(const SecretText& entered, SecretText& password, std::string& problem);

} // namespace kelvane::cli
