// One file of the registry's text export format ("Windows Registry Editor
// Version 5.00"): its keys and values in file order, indexed so that reading
// a file and looking values up take time in proportion to the file.
#pragma once

#include "platform/Registry.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvane {

struct RegValue {
    RegDataType type = RegDataType::None;
    std::string text;           // String, ExpandString (UTF-8)
    uint32_t number = 0;        // Integer
    std::vector<uint8_t> bytes; // Binary, as written in the file
    std::string rawType;        // Binary: "hex" or "hex(N)", kept for writing back

    static RegValue String(std::string text);
    static RegValue ExpandString(std::string text);
    static RegValue Integer(uint32_t number);
    bool operator==(const RegValue&) const = default;
};

// "a\\b\" with empty components dropped, so "\crypt file\" and "crypt file"
// name the same key.
std::string NormalizeKeyPath(std::string_view path);
// Key paths and value names compare without regard to ASCII case, whatever
// the locale (AsciiLowered).

// Key paths are below HKEY_CLASSES_ROOT, without a leading backslash.
class RegistryDocument {
public:
    struct Entry {
        std::string name; // empty: the key's default value
        RegValue value;
        bool operator==(const Entry&) const = default;
    };
    struct Key {
        std::string path;
        std::vector<Entry> entries;
        bool operator==(const Key&) const = default;
    };

    // Never fails: lines it cannot understand are skipped, and a text without
    // the format's header line reads as no keys at all. Whatever it keeps,
    // Serialize writes so that Parse reads it back unchanged.
    static RegistryDocument Parse(std::string_view text);
    std::string Serialize() const;

    // True for a key written in the file and for every key above one.
    bool HasKey(std::string_view path) const;
    const RegValue* Find(std::string_view path, std::string_view name) const;
    // Adds the key to this document when it is not there yet.
    void Set(std::string_view path, const std::string& name, const RegValue& value);

    const std::vector<Key>& Keys() const { return keys_; }

private:
    // Positions in keys_; the path must already be normalised.
    std::size_t AddKey(std::string normalPath);
    void SetIn(std::size_t key, const std::string& name, RegValue value);

    std::vector<Key> keys_;
    // Folded path -> position in keys_. Ordered, so the keys below a path
    // sit together after it.
    std::map<std::string, std::size_t, std::less<>> keyIndex_;
    // Per key: folded value name -> position in its entries.
    std::vector<std::unordered_map<std::string, std::size_t>> valueIndex_;
};

} // namespace kelvane
