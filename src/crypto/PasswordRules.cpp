// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/PasswordRules.h"

#include "crypto/SecureWipe.h"
#include "crypto/Translate.h"
#include "crypto/Windows1252.h"

#include <cstdint>
#include <optional>

namespace kelvane {
namespace {

struct LeadByte {
    uint8_t mask, value;
    int extra;      // continuation bytes that follow
    char32_t least; // smaller values would be overlong
};

constexpr LeadByte kLeadBytes[] = {
    {0xE0, 0xC0, 1, 0x80}, {0xF0, 0xE0, 2, 0x800}, {0xF8, 0xF0, 3, 0x10000}};

// Decodes one character at `pos`, refusing overlong forms, surrogates and
// values beyond U+10FFFF.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<uint8_t>(text[pos++]);
    if (lead < 0x80)
        return lead;
    for (const LeadByte& form : kLeadBytes) {
        if ((lead & form.mask) != form.value)
            continue;
        char32_t c = lead & static_cast<uint8_t>(~form.mask);
        for (int i = 0; i < form.extra; ++i) {
            if (pos >= text.size() || (static_cast<uint8_t>(text[pos]) & 0xC0) != 0x80)
                return std::nullopt;
            c = c << 6 | (static_cast<uint8_t>(text[pos++]) & 0x3F);
        }
        if (c < form.least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        return c;
    }
    return std::nullopt;
}

void WipeAll(std::string& key) {
    // The whole capacity: a shorter text may have overwritten a longer one.
    key.resize(key.capacity());
    SecureWipe(key.data(), key.size());
    key.clear();
}

// Appends one character's byte; false when the code page lacks it.
bool AppendByte(char32_t c, std::string& key) {
    const auto byte = Windows1252ByteOf(c);
    if (!byte)
        return false;
    key.push_back(static_cast<char>(*byte));
    return true;
}

PasswordCheck CheckKey(std::string& key) {
    PasswordCheck check = PasswordCheck::Ok;
    if (key.find('\0') != std::string::npos)
        check = PasswordCheck::HasZero;
    else if (key.size() < kPasswordMinLength || key.size() > kPasswordMaxLength)
        check = PasswordCheck::WrongLength;
    if (check != PasswordCheck::Ok)
        WipeAll(key);
    return check;
}

} // namespace

PasswordCheck ToKeyBytes(std::string_view utf8, std::string& key) {
    WipeAll(key);
    key.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto c = NextCodePoint(utf8, pos);
        if (!c || !AppendByte(*c, key)) {
            WipeAll(key);
            return c ? PasswordCheck::OutsideWindows1252 : PasswordCheck::NotUtf8;
        }
    }
    return CheckKey(key);
}

PasswordCheck ToKeyBytes(std::u16string_view text, std::string& key) {
    WipeAll(key);
    key.reserve(text.size());
    for (const char16_t c : text) {
        if (!AppendByte(c, key)) {
            WipeAll(key);
            return PasswordCheck::OutsideWindows1252;
        }
    }
    return CheckKey(key);
}

PasswordCheck CheckPassword(std::u16string_view text) {
    std::string key;
    const PasswordCheck check = ToKeyBytes(text, key);
    WipeAll(key); // an accepted password is kept only where the caller keeps it
    return check;
}

std::string PasswordProblemText(PasswordCheck check) {
    switch (check) {
    case PasswordCheck::Ok:
        return {};
    case PasswordCheck::NotUtf8:
        return Tr("PasswordRules", "the password is not valid UTF-8 text; save it as UTF-8");
    case PasswordCheck::OutsideWindows1252:
        return Tr("PasswordRules",
                  "the password holds a character outside Windows-1252 (Western European); "
                  "it must have 6 to 8 such characters");
    case PasswordCheck::HasZero:
        return Tr("PasswordRules", "the password must not hold a zero character");
    case PasswordCheck::WrongLength:
        break;
    }
    return Tr("PasswordRules", "the password must have 6 to 8 characters");
}

std::string CharactersOutsideWindows1252(std::u16string_view text) {
    std::u32string seen;
    std::string utf8;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        // A surrogate pair is one character beyond the basic plane.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (Windows1252ByteOf(c) || seen.find(c) != std::u32string::npos)
            continue;
        seen.push_back(c);
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD; // a lone surrogate can't be shown
        if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
    return utf8;
}

} // namespace kelvane
