// SPDX-License-Identifier: GPL-3.0-or-later
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

struct Line {
    std::string_view raw;     // as in the text, with its line end
    std::string_view content; // trimmed; continuations joined
};

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line, or nothing at the end of the text.
    std::optional<Line> Next() {
        if (pos_ >= text_.size())
            return std::nullopt;
        std::size_t end = text_.find('\n', pos_);
        end = end == std::string_view::npos ? text_.size() : end + 1;
        const std::string_view raw = text_.substr(pos_, end - pos_);
        pos_ = end;
        return Line{raw, Trim(raw.substr(0, raw.find('\n')))};
    }

    // A line with its continuations: hex data may run over several lines,
    // each but the last ending in "\". Each line is looked at once, however
    // long the value's name or data.
    Line NextJoined(std::string& joined) {
        const std::size_t start = pos_;
        Line line = *Next();
        if (line.content.empty() || line.content.back() != '\\' ||
            line.content.find("=hex") == std::string_view::npos)
            return line;
        joined.assign(line.content);
        while (!joined.empty() && joined.back() == '\\') {
            joined.pop_back();
            // A blank line or the end of the text ends the value: a line that
            // merely ends in an escaped backslash must not swallow the key
            // written after it, and reads the same whether or not a save
            // later adds lines behind it.
            if (pos_ >= text_.size())
                break;
            const std::string_view next = Next()->content;
            if (next.empty())
                break;
            joined.append(next);
        }
        return Line{text_.substr(start, pos_ - start), joined};
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    std::string_view Rest() const { return text_.substr(std::min(pos_, text_.size())); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string DecodeText(std::string_view text, bool& utf16, std::string& byteOrderMark) {
    utf16 = text.size() >= 2 && static_cast<uint8_t>(text[0]) == 0xFF &&
            static_cast<uint8_t>(text[1]) == 0xFE;
    if (utf16)
        return Utf16LeToUtf8(reinterpret_cast<const uint8_t*>(text.data()) + 2, text.size() - 2);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        byteOrderMark.assign(text.substr(0, 3));
        text.remove_prefix(3);
    }
    return std::string(text);
}

std::string_view LineEndOf(std::string_view line) {
    if (line.ends_with("\r\n"))
        return "\r\n";
    return line.ends_with('\n') ? "\n" : "";
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

std::string HexList(std::string_view type, const std::vector<uint8_t>& bytes,
                    std::string_view lineEnd) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(type);
    out += ':';
    out.reserve(out.size() + bytes.size() * 3 + bytes.size() / 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 24 == 0)
            out.append(",\\").append(lineEnd).append("  ");
        else if (i > 0)
            out += ',';
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
std::string StringText(const std::string& text, std::string_view lineEnd) {
    if (text.find_first_of("\r\n") == std::string::npos)
        return Quoted(text);
    std::vector<uint8_t> bytes = Utf16WithNul(text);
    if (text.find('\n') != std::string::npos || StringFromHex(bytes) == text)
        return HexList("hex(1)", bytes, lineEnd);
    return Quoted(text);
}

std::string DataText(const RegValue& value, std::string_view lineEnd) {
    switch (value.type) {
    case RegDataType::String:
        return StringText(value.text, lineEnd);
    case RegDataType::ExpandString:
        return HexList("hex(2)", Utf16WithNul(value.text), lineEnd);
    case RegDataType::Integer: {
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text = "dword:";
        for (int shift = 28; shift >= 0; shift -= 4)
            text += kDigits[(value.number >> shift) & 0x0F];
        return text;
    }
    case RegDataType::Binary:
        return HexList(value.rawType.empty() ? "hex" : value.rawType, value.bytes, lineEnd);
    case RegDataType::None:
        break;
    }
    return {};
}

std::string ValueLineText(const std::string& name, const RegValue& value,
                          std::string_view lineEnd) {
    return (name.empty() ? std::string("@") : Quoted(name)) + '=' + DataText(value, lineEnd);
}

std::string KeyLineText(const std::string& path) {
    return "[" + std::string(kRoot) + (path.empty() ? "" : "\\" + path) + "]";
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

RegistryDocument RegistryDocument::Parse(std::string_view raw) {
    RegistryDocument document;
    const std::string text = DecodeText(raw, document.utf16_, document.byteOrderMark_);
    document.blank_ = IsBlank(text);
    LineReader lines(text);
    // Blank lines may stand before the header.
    while (const auto line = lines.Next()) {
        document.lines_.emplace_back(line->raw);
        if (line->content.empty())
            continue;
        document.hasHeader_ = line->content == kHeader || line->content == kOldHeader;
        if (document.hasHeader_ && !LineEndOf(line->raw).empty())
            document.lineEnd_ = LineEndOf(line->raw);
        break;
    }
    if (!document.hasHeader_) {
        document.lines_.emplace_back(lines.Rest());
        return document;
    }

    std::optional<std::size_t> key;
    std::string joined;
    std::string name;
    while (!lines.AtEnd()) {
        const Line line = lines.NextJoined(joined);
        const std::size_t at = document.lines_.size();
        document.lines_.emplace_back(line.raw);
        if (line.content.empty() || line.content[0] == ';')
            continue;
        if (line.content[0] == '[') {
            const std::optional<std::string> path = ParseKeyLine(line.content);
            key = path ? std::optional(document.AddKey(*path)) : std::nullopt;
            if (key)
                document.keyEnd_[*key] = at;
            continue;
        }
        RegValue value;
        if (key && ParseValueLine(line.content, name, value))
            document.Record(*key, name, std::move(value), at);
    }
    return document;
}

std::string RegistryDocument::Serialize() const {
    if (lines_.empty())
        return std::string(kHeader) + "\n";
    std::size_t size = 0;
    for (const std::string& line : lines_)
        size += line.size();
    std::string out;
    out.reserve(byteOrderMark_.size() + size);
    out += byteOrderMark_;
    for (const std::string& line : lines_)
        out += line;
    if (!utf16_)
        return out;
    const std::vector<uint8_t> units = Utf8ToUtf16Le(out);
    return "\xFF\xFE" + std::string(units.begin(), units.end());
}

void RegistryDocument::Set(std::string_view path, const std::string& name, const RegValue& value) {
    const std::size_t key = KeyForWriting(NormalizeKeyPath(path));
    std::vector<Entry>& entries = keys_[key].entries;
    const auto [slot, added] = valueIndex_[key].try_emplace(AsciiLowered(name), entries.size());
    if (!added) {
        Entry& entry = entries[slot->second];
        if (entry.value == value)
            return;
        entry.value = value;
        std::string& line = lines_[entryLine_[key][slot->second]];
        line = ValueLineText(entry.name, value, lineEnd_) + std::string(LineEndOf(line));
        return;
    }
    entries.push_back({name, value});
    InsertLine(keyEnd_[key], ValueLineText(name, value, lineEnd_) + lineEnd_);
    keyEnd_[key] += 1;
    entryLine_[key].push_back(keyEnd_[key]);
}

std::size_t RegistryDocument::KeyForWriting(std::string normalPath) {
    if (!hasHeader_) {
        // Whatever stood there was no registry text.
        *this = RegistryDocument();
        lines_.push_back(std::string(kHeader) + lineEnd_);
        hasHeader_ = true;
    }
    const auto found = keyIndex_.find(AsciiLowered(normalPath));
    if (found != keyIndex_.end())
        return found->second;
    const std::size_t key = AddKey(std::move(normalPath));
    EndLine(lines_.size() - 1);
    lines_.push_back(lineEnd_ + KeyLineText(keys_[key].path) + lineEnd_);
    keyEnd_[key] = lines_.size() - 1;
    return key;
}

} // namespace kelvane
