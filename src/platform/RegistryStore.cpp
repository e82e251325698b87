#include "platform/RegistryStore.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace kelvane {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT";
// Far beyond any registry file of ours; a bigger one is not ours to read.
constexpr std::size_t kMaxFileBytes = 1 << 20;

// ---- text helpers ----------------------------------------------------------

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
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
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// "a\\b\" with empty components dropped, so "\crypt file\" and "crypt file"
// name the same key.
std::string NormalizeKeyPath(std::string_view path) {
    std::string normal;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start) {
            if (!normal.empty())
                normal += '\\';
            normal.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return normal;
}

// ---- UTF-16LE, the encoding of hex(2) values and of regedit's own exports --

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf16LeToUtf8(const uint8_t* data, std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        uint32_t unit = data[i] | (data[i + 1] << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < size) {
            const uint32_t low = data[i + 2] | (data[i + 3] << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(out, unit);
    }
    return out;
}

std::vector<uint8_t> Utf8ToUtf16Le(std::string_view text) {
    std::vector<uint8_t> out;
    auto put = [&out](uint32_t unit) {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        uint32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        for (int k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += static_cast<std::size_t>(length);
        if (code >= 0x10000) {
            code -= 0x10000;
            put(0xD800 + (code >> 10));
            put(0xDC00 + (code & 0x3FF));
        } else {
            put(code);
        }
    }
    return out;
}

// A REG_SZ or REG_EXPAND_SZ held as UTF-16LE bytes, ending in a NUL.
std::string StringFromHex(const std::vector<uint8_t>& bytes) {
    std::string text = Utf16LeToUtf8(bytes.data(), bytes.size());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

// ---- parsing ---------------------------------------------------------------

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

bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::size_t pos = 0;
    while (true) {
        const std::string_view rest = Trim(text.substr(pos));
        if (rest.empty())
            return true;
        pos = text.size() - rest.size();
        if (rest.size() < 2 || HexDigit(rest[0]) < 0 || HexDigit(rest[1]) < 0)
            return false;
        bytes.push_back(static_cast<uint8_t>(HexDigit(rest[0]) * 16 + HexDigit(rest[1])));
        pos += 2;
        const std::string_view after = Trim(text.substr(pos));
        if (after.empty())
            return true;
        // A list that ends in a comma was cut short.
        if (after[0] != ',' || Trim(after.substr(1)).empty())
            return false;
        pos = text.size() - after.size() + 1;
    }
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
    if (!EqualNoCase(kind, "hex") && !(StartsWithNoCase(kind, "hex(") && kind.back() == ')'))
        return false;
    std::vector<uint8_t> bytes;
    if (!ParseHexBytes(data.substr(colon + 1), bytes))
        return false;
    if (EqualNoCase(kind, "hex(1)") || EqualNoCase(kind, "hex(2)")) {
        value = EqualNoCase(kind, "hex(1)") ? RegValue::String(StringFromHex(bytes))
                                            : RegValue::ExpandString(StringFromHex(bytes));
        return true;
    }
    value = RegValue{};
    value.type = RegDataType::Binary;
    value.bytes = std::move(bytes);
    value.rawType = std::string(kind);
    std::transform(value.rawType.begin(), value.rawType.end(), value.rawType.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
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

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Hex data may run over several lines, each but the last ending in "\".
std::string JoinContinuations(const std::vector<std::string>& lines, std::size_t& index) {
    std::string line(Trim(lines[index]));
    while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos &&
           index + 1 < lines.size()) {
        line.pop_back();
        line.append(Trim(lines[++index]));
    }
    return line;
}

std::string DecodeText(std::string_view text) {
    if (text.size() >= 2 && static_cast<uint8_t>(text[0]) == 0xFF &&
        static_cast<uint8_t>(text[1]) == 0xFE)
        return Utf16LeToUtf8(reinterpret_cast<const uint8_t*>(text.data()) + 2, text.size() - 2);
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return std::string(text);
}

// ---- writing ---------------------------------------------------------------

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string HexList(std::string_view type, const std::vector<uint8_t>& bytes) {
    std::string out(type);
    out += ':';
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", bytes[i]);
        if (i > 0)
            out += (i % 24 == 0) ? ",\\\n  " : ",";
        out += byte;
    }
    return out;
}

std::string WithNul(std::string_view text) {
    std::string terminated(text);
    terminated += '\0';
    return terminated;
}

std::string DataText(const RegValue& value) {
    switch (value.type) {
    case RegDataType::String:
        // A line break can't stand in a quoted string; the hex form holds it.
        if (value.text.find_first_of("\r\n") != std::string::npos)
            return HexList("hex(1)", Utf8ToUtf16Le(WithNul(value.text)));
        return Quoted(value.text);
    case RegDataType::ExpandString:
        return HexList("hex(2)", Utf8ToUtf16Le(WithNul(value.text)));
    case RegDataType::Integer: {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", value.number);
        return digits;
    }
    case RegDataType::Binary:
        return HexList(value.rawType.empty() ? "hex" : value.rawType, value.bytes);
    case RegDataType::None:
        break;
    }
    return {};
}

// ---- places ----------------------------------------------------------------

std::string ExecutableDirectory() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    return DirectoryPart(std::string_view(buffer, static_cast<std::size_t>(length)));
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string ConfigDirectory() {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return config;
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : JoinPath(home, ".config");
}

} // namespace

// ---- RegValue --------------------------------------------------------------

RegValue RegValue::String(std::string text) {
    RegValue value;
    value.type = RegDataType::String;
    value.text = std::move(text);
    return value;
}

RegValue RegValue::ExpandString(std::string text) {
    RegValue value = String(std::move(text));
    value.type = RegDataType::ExpandString;
    return value;
}

RegValue RegValue::Integer(uint32_t number) {
    RegValue value;
    value.type = RegDataType::Integer;
    value.number = number;
    return value;
}

// ---- RegistryDocument ------------------------------------------------------

RegistryDocument RegistryDocument::Parse(std::string_view raw) {
    RegistryDocument document;
    const std::string text = DecodeText(raw);
    const std::vector<std::string> lines = SplitLines(text);
    std::size_t index = 0;
    while (index < lines.size() && Trim(lines[index]).empty())
        ++index;
    if (index == lines.size())
        return document;
    const std::string_view header = Trim(lines[index]);
    if (header != kHeader && header != kOldHeader)
        return document;

    std::optional<std::string> key;
    for (++index; index < lines.size(); ++index) {
        const std::string line = JoinContinuations(lines, index);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            key = ParseKeyLine(line);
            if (key && !document.FindKey(*key))
                document.keys_.push_back({*key, {}});
            continue;
        }
        std::string name;
        RegValue value;
        if (key && ParseValueLine(line, name, value))
            document.Set(*key, name, value);
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
        for (const Entry& entry : key.entries)
            out += (entry.name.empty() ? "@" : Quoted(entry.name)) + "=" + DataText(entry.value) +
                   "\n";
    }
    return out;
}

bool RegistryDocument::HasKey(std::string_view path) const {
    const std::string wanted = NormalizeKeyPath(path);
    if (wanted.empty())
        return true;
    return std::any_of(keys_.begin(), keys_.end(), [&wanted](const Key& key) {
        return StartsWithNoCase(key.path, wanted) &&
               (key.path.size() == wanted.size() || key.path[wanted.size()] == '\\');
    });
}

const RegValue* RegistryDocument::Find(std::string_view path, std::string_view name) const {
    const Key* key = FindKey(path);
    if (key == nullptr)
        return nullptr;
    for (const Entry& entry : key->entries) {
        if (EqualNoCase(entry.name, name))
            return &entry.value;
    }
    return nullptr;
}

void RegistryDocument::Set(std::string_view path, const std::string& name, const RegValue& value) {
    Key* key = FindKey(path);
    if (key == nullptr) {
        keys_.push_back({NormalizeKeyPath(path), {}});
        key = &keys_.back();
    }
    for (Entry& entry : key->entries) {
        if (EqualNoCase(entry.name, name)) {
            entry.value = value;
            return;
        }
    }
    key->entries.push_back({name, value});
}

RegistryDocument::Key* RegistryDocument::FindKey(std::string_view path) {
    const std::string wanted = NormalizeKeyPath(path);
    for (Key& key : keys_) {
        if (EqualNoCase(key.path, wanted))
            return &key;
    }
    return nullptr;
}

const RegistryDocument::Key* RegistryDocument::FindKey(std::string_view path) const {
    return const_cast<RegistryDocument*>(this)->FindKey(path);
}

// ---- files -----------------------------------------------------------------

RegistryDocument LoadRegistryDocument(const std::string& path) {
    if (path.empty())
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    const auto length = static_cast<std::size_t>(in.gcount());
    if (length > kMaxFileBytes || in.bad())
        return {};
    text.resize(length);
    return RegistryDocument::Parse(text);
}

bool SaveRegistryDocument(const std::string& path, const RegistryDocument& document,
                          FileAccess& files) {
    const std::string directory = DirectoryPart(path);
    std::error_code error;
    if (!directory.empty())
        std::filesystem::create_directories(directory, error);
    if (error)
        return false;
    // Preferences are nobody else's business.
    std::unique_ptr<DestinationFile> file = files.CreateDestination(path, 0600);
    if (!file)
        return false;
    const std::string text = document.Serialize();
    return file->Write(text.data(), text.size()) && file->Commit();
}

RegistryPaths DefaultRegistryPaths() {
    RegistryPaths paths;
    const char* system = std::getenv("KELVANE_SYSTEM_REGISTRY");
    if (system != nullptr && system[0] != '\0') {
        paths.system = system;
    } else {
        const std::string exeDirectory = ExecutableDirectory();
        if (!exeDirectory.empty())
            paths.system = std::filesystem::path(exeDirectory + "../share/kelvane/kelvane.reg")
                               .lexically_normal()
                               .string();
    }
    const std::string config = ConfigDirectory();
    if (!config.empty())
        paths.user = JoinPath(config, "kelvane/registry.reg");
    return paths;
}

// ---- LayeredRegistry -------------------------------------------------------

LayeredRegistry::LayeredRegistry(RegistryPaths paths, FileAccess& files)
    : paths_(std::move(paths)), files_(files), system_(LoadRegistryDocument(paths_.system)),
      user_(LoadRegistryDocument(paths_.user)) {}

bool LayeredRegistry::OpenKey(const std::string& path) {
    const bool absolute = !path.empty() && path[0] == '\\';
    const std::string base = absolute || !openKey_ ? std::string() : *openKey_ + "\\";
    const std::string wanted = NormalizeKeyPath(base + path);
    if (system_.HasKey(wanted) || user_.HasKey(wanted))
        openKey_ = wanted;
    else
        openKey_.reset();
    return openKey_.has_value();
}

void LayeredRegistry::CloseKey() {
    openKey_.reset();
}

const RegValue* LayeredRegistry::Lookup(const std::string& name) const {
    if (!openKey_)
        return nullptr;
    const RegValue* value = user_.Find(*openKey_, name);
    return value != nullptr ? value : system_.Find(*openKey_, name);
}

RegDataType LayeredRegistry::GetDataType(const std::string& name) const {
    const RegValue* value = Lookup(name);
    return value != nullptr ? value->type : RegDataType::None;
}

std::optional<std::string> LayeredRegistry::ReadString(const std::string& name) const {
    const RegValue* value = Lookup(name);
    if (value == nullptr ||
        (value->type != RegDataType::String && value->type != RegDataType::ExpandString))
        return std::nullopt;
    return value->text;
}

std::optional<int32_t> LayeredRegistry::ReadInteger(const std::string& name) const {
    const RegValue* value = Lookup(name);
    if (value == nullptr || value->type != RegDataType::Integer)
        return std::nullopt;
    return static_cast<int32_t>(value->number);
}

bool LayeredRegistry::WriteInteger(const std::string& name, int32_t number) {
    if (!openKey_ || paths_.user.empty())
        return false;
    const RegValue value = RegValue::Integer(static_cast<uint32_t>(number));
    const RegValue* current = Lookup(name);
    if (current != nullptr && *current == value)
        return true; // the user's file is left alone when nothing changes
    // Start from the file as it is now, so another run's values survive.
    RegistryDocument user = LoadRegistryDocument(paths_.user);
    user.Set(*openKey_, name, value);
    if (!SaveRegistryDocument(paths_.user, user, files_))
        return false;
    user_ = std::move(user);
    return true;
}

std::unique_ptr<Registry> OpenClassesRoot() {
    return std::make_unique<LayeredRegistry>(DefaultRegistryPaths());
}

} // namespace kelvane
