#include "commands/PasswordText.h"

#include "crypto/SecureWipe.h"
#include "crypto/Windows1252.h"

#include <optional>

namespace kelvane {
bool ToWindows1252(std::u16string_view text, std::string& bytes) {
    SecureWipe(bytes.data(), bytes.size());
    bytes.clear();
    bytes.reserve(text.size());
    for (char16_t c : text) {
        const auto byte = Windows1252ByteOf(c);
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
        if (c == 0 || !Windows1252ByteOf(c))
            return false;
    }
    return true;
}

} // namespace kelvane
