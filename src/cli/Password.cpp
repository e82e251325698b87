#include "cli/Password.h"

#include "crypto/SecureWipe.h"
#include "crypto/Windows1252.h"

#include <cstdint>

namespace kelvane::cli {
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

} // namespace

void SecretText::Wipe() {
    // The whole capacity: a shorter text may have overwritten a longer one.
    text_.resize(text_.capacity());
    SecureWipe(text_.data(), text_.size());
    text_.clear();
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto c = NextCodePoint(utf8, pos);
        const auto byte = c ? Windows1252ByteOf(*c) : std::nullopt;
        if (!byte) {
            SecureWipe(out.data(), out.size());
            return std::nullopt;
        }
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

bool ReadFirstLine(std::istream& in, SecretText& line) {
    std::string& text = line.Text();
    text.clear();
    char c = 0;
    bool any = false;
    while (in.get(c)) {
        any = true;
        if (c == '\n')
            break;
        text.push_back(c);
    }
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    return any;
}

void ToKeyPassword(const SecretText& entered, SecretText& password, std::string& problem) {
    password.Wipe();
    auto converted = Utf8ToWindows1252(entered.Text());
    if (!converted) {
        problem = "the password holds a character outside Windows-1252 (Western European); "
                  "it must have 6 to 8 such characters";
        return;
    }
    password.Text().assign(*converted);
    SecureWipe(converted->data(), converted->size());
    const std::size_t length = password.Text().size();
    // A zero byte would end the key early and silently shorten it.
    if (password.Text().find('\0') != std::string::npos)
        problem = "the password must not hold a zero character";
    else if (length < kPasswordMinLength || length > kPasswordMaxLength)
        problem = "the password must have 6 to 8 characters";
    if (!problem.empty())
        password.Wipe();
}

} // namespace kelvane::cli
