#include "commands/PasswordText.h"

#include "crypto/SecureWipe.h"

#include <optional>

namespace kelvane {
namespace {

// The characters behind the bytes 80h..9Fh; 0 where the code page has none.
constexpr char16_t kHighRow[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::optional<unsigned char> ByteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighRow[i] != 0 && kHighRow[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

bool ToWindows1252(std::u16string_view text, std::string& bytes) {
    SecureWipe(bytes.data(), bytes.size());
    bytes.clear();
    bytes.reserve(text.size());
    for (char16_t c : text) {
        const auto byte = ByteOf(c);
        if (!byte) {
            SecureWipe(bytes.data(), bytes.size());
            bytes.clear();
            return false;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return true;
}

bool AcceptablePassword(std::u16string_view text) {
    if (text.size() < kPasswordMinLength || text.size() > kPasswordMaxLength)
        return false;
    for (char16_t c : text) {
        // A zero would end the key early: the engine takes the password as C text.
        if (c == 0 || !ByteOf(c))
            return false;
    }
    return true;
}

} // namespace kelvane
