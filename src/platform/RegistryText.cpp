// Reading and writing the registry's text export format.
#include "crypto/AsciiCase.h"
#include "platform/RegistryDocument.h"
#include "platform/Utf16.h"

#include <algorithm>
#include <optional>

namespace kelvane {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT";

// ---- text helpers ----------------------------------------------------------

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// A REG_SZ or REG_EXPAND_SZ held as UTF-16LE bytes, ending in a NUL.
std::string StringFromHex(const std::vector<uint8_t>& bytes) {
    std::string text = Utf16LeToUtf8(bytes.data(), bytes.size());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

// ---- values ------------------------------------------------------------------

// Reads a quoted string with \\ and \" escapes starting at text[pos] == '"';
// leaves pos after the closing quote. False when the quote never closes.
bool ReadQuoted(std::string_view text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"')
        return false;
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < text.size())
            c = text[++pos];
        out += c;
    }
    return false;
}

// "01,02 , ff": two hex digits per byte, commas between, blanks anywhere.
bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    text = Trim(text);
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (pos + 1 >= text.size() || HexDigit(text[pos]) < 0 || HexDigit(text[pos + 1]) < 0)
            return false;
        bytes.push_back(static_cast<uint8_t>(HexDigit(text[pos]) * 16 + HexDigit(text[pos + 1])));
        pos = text.find_first_not_of(" \t\r", pos + 2);
        if (pos == std::string_view::npos)
            return true;
        if (text[pos] != ',')
            return false;
        pos = text.find_first_not_of(" \t\r", pos + 1);
        // A list that ends in a comma was cut short.
        if (pos == std::string_view::npos)
            return false;
    }
    return true;
}

bool ParseDword(std::string_view digits, uint32_t& number) {
    if (digits.size() != 8)
        return false;
    number = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        number = number * 16 + static_cast<uint32_t>(digit);
    }
    return true;
}

bool ParseHexValue(std::string_view data, RegValue& value) {
    const std::size_t colon = data.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view kind = data.substr(0, colon);
    if (!EqualIgnoringAsciiCase(kind, "hex") &&
        !(StartsWithNoCase(kind, "hex(") && kind.back() == ')'))
        return false;
    std::vector<uint8_t> bytes;
    if (!ParseHexBytes(data.substr(colon + 1), bytes))
        return false;
    if (EqualIgnoringAsciiCase(kind, "hex(1)") || EqualIgnoringAsciiCase(kind, "hex(2)")) {
        value = EqualIgnoringAsciiCase(kind, "hex(1)")
                    ? RegValue::String(StringFromHex(bytes))
                    : RegValue::ExpandString(StringFromHex(bytes));
        return true;
    }
    value = RegValue{};
    value.type = RegDataType::Binary;
    value.bytes = std::move(bytes);
    value.rawType = AsciiLowered(kind);
    return true;
}

bool ParseData(std::string_view data, RegValue& value) {
    data = Trim(data);
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        std::string text;
        if (!ReadQuoted(data, pos, text) || !Trim(data.substr(pos)).empty())
            return false;
        value = RegValue::String(std::move(text));
        return true;
    }
    if (StartsWithNoCase(data, "dword:")) {
        uint32_t number = 0;
        if (!ParseDword(Trim(data.substr(6)), number))
            return false;
        value = RegValue::Integer(number);
        return true;
    }
    return ParseHexValue(data, value);
}

// `"Name"=data` or `@=data`. False for deletions ("Name"=-) and garbage.
bool ParseValueLine(std::string_view line, std::string& name, RegValue& value) {
    std::size_t pos = 0;
    if (line[0] == '@') {
        name.clear();
        pos = 1;
    } else if (!ReadQuoted(line, pos, name)) {
        return false;
    }
    const std::string_view rest = Trim(line.substr(pos));
    if (rest.empty() || rest[0] != '=')
        return false;
    return ParseData(rest.substr(1), value);
}

// The key below HKEY_CLASSES_ROOT that a "[...]" line opens, or nothing for
// deletions, other roots and broken lines.
std::optional<std::string> ParseKeyLine(std::string_view line) {
    if (line.size() < 2 || line.back() != ']' || line[1] == '-')
        return std::nullopt;
    const std::string_view path = line.substr(1, line.size() - 2);
    if (!StartsWithNoCase(path, kRoot))
        return std::nullopt;
    const std::string_view below = path.substr(kRoot.size());
    if (!below.empty() && below[0] != '\\')
        return std::nullopt;
    return NormalizeKeyPath(below);
}

// ---- lines -------------------------------------------------------------------

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line, trimmed, or nothing at the end of the text.
    std::optional<std::string_view> Next() {
        if (pos_ >= text_.size())
            return std::nullopt;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return Trim(line);
    }

    // A line with its continuations: hex data may run over several lines,
    // each but the last ending in "\". Each line is looked at once, however
    // long the value's name or data.
    std::string_view NextJoined(std::string& joined) {
        std::string_view line = *Next();
        if (line.empty() || line.back() != '\\' || line.find("=hex") == std::string_view::npos)
            return line;
        joined.assign(line);
        while (!joined.empty() && joined.back() == '\\' && pos_ < text_.size()) {
            joined.pop_back();
            joined.append(*Next());
        }
        return joined;
    }

    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string DecodeText(std::string_view text) {
    if (text.size() >= 2 && static_cast<uint8_t>(text[0]) == 0xFF &&
        static_cast<uint8_t>(text[1]) == 0xFE)
        return Utf16LeToUtf8(reinterpret_cast<const uint8_t*>(text.data()) + 2, text.size() - 2);
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return std::string(text);
}

// Skips blank lines up to the header; false when the text has none.
bool ReadHeader(LineReader& lines) {
    while (const auto line = lines.Next()) {
        if (!line->empty())
            return *line == kHeader || *line == kOldHeader;
    }
    return false;
}

// ---- writing -----------------------------------------------------------------

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string HexList(std::string_view type, const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(type);
    out += ':';
    out.reserve(out.size() + bytes.size() * 3 + bytes.size() / 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += (i % 24 == 0) ? ",\\\n  " : ",";
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
    }
    return out;
}

std::vector<uint8_t> Utf16WithNul(std::string_view text) {
    std::vector<uint8_t> bytes = Utf8ToUtf16Le(text);
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

// A line feed can't stand in a quoted string. The hex form holds any text
// that survives the trip through UTF-16; the rest (bytes that are not UTF-8,
// NULs at the end) keeps its carriage returns inside the quotes, where the
// reader takes them as they are.
std::string StringText(const std::string& text) {
    if (text.find_first_of("\r\n") == std::string::npos)
        return Quoted(text);
    std::vector<uint8_t> bytes = Utf16WithNul(text);
    if (text.find('\n') != std::string::npos || StringFromHex(bytes) == text)
        return HexList("hex(1)", bytes);
    return Quoted(text);
}

std::string DataText(const RegValue& value) {
    switch (value.type) {
    case RegDataType::String:
        return StringText(value.text);
    case RegDataType::ExpandString:
        return HexList("hex(2)", Utf16WithNul(value.text));
    case RegDataType::Integer: {
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text = "dword:";
        for (int shift = 28; shift >= 0; shift -= 4)
            text += kDigits[(value.number >> shift) & 0x0F];
        return text;
    }
    case RegDataType::Binary:
        return HexList(value.rawType.empty() ? "hex" : value.rawType, value.bytes);
    case RegDataType::None:
        break;
    }
    return {};
}

} // namespace

RegistryDocument RegistryDocument::Parse(std::string_view raw) {
    RegistryDocument document;
    const std::string text = DecodeText(raw);
    LineReader lines(text);
    if (!ReadHeader(lines))
        return document;

    std::optional<std::size_t> key;
    std::string joined;
    std::string name;
    while (!lines.AtEnd()) {
        const std::string_view line = lines.NextJoined(joined);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const std::optional<std::string> path = ParseKeyLine(line);
            key = path ? std::optional(document.AddKey(*path)) : std::nullopt;
            continue;
        }
        RegValue value;
        if (key && ParseValueLine(line, name, value))
            document.SetIn(*key, name, std::move(value));
    }
    return document;
}

std::string RegistryDocument::Serialize() const {
    std::string out(kHeader);
    out += "\n";
    for (const Key& key : keys_) {
        out += "\n[";
        out += kRoot;
        if (!key.path.empty())
            out += "\\" + key.path;
        out += "]\n";
        for (const Entry& entry : key.entries) {
            out += entry.name.empty() ? "@" : Quoted(entry.name);
            out += '=';
            out += DataText(entry.value);
            out += '\n';
        }
    }
    return out;
}

} // namespace kelvane
