// SPDX-License-Identifier: GPL-3.0-or-later
// One file of the registry's text export format ("Windows Registry Editor
// Version 5.00"): its keys and values in file order, indexed so that reading
// a file and looking values up take time in proportion to the file. The
// document keeps the text it was read from, so that a save changes only the
// values that were set and every other byte (comments, other roots, lines it
// does not understand, line ends, order) stays as it was.
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

    // Never fails: lines it cannot understand yield no values, and a text
    // without the format's header line reads as no keys at all. Serialize
    // gives back the text read, with only the values set since changed.
    static RegistryDocument Parse(std::string_view text);
    std::string Serialize() const;

    // False for a text with something in it but no header line: it is no
    // registry file, and setting a value starts a new document in its place.
    bool IsRegistryText() const { return hasHeader_ || blank_; }

    // True for a key written in the file and for every key above one.
    bool HasKey(std::string_view path) const;
    const RegValue* Find(std::string_view path, std::string_view name) const;
    // Adds the key to this document when it is not there yet. A value set to
    // what it already holds leaves its line as it was written.
    void Set(std::string_view path, const std::string& name, const RegValue& value);

    const std::vector<Key>& Keys() const { return keys_; }

private:
    // Positions in keys_; the path must already be normalised.
    std::size_t AddKey(std::string normalPath);
    // A value read from the text at lines_[line].
    void Record(std::size_t key, const std::string& name, RegValue value, std::size_t line);
    std::size_t KeyForWriting(std::string normalPath);
    void InsertLine(std::size_t after, std::string text);
    void EndLine(std::size_t line);

    // The text, one element per line with its own line end; a value with its
    // continuation lines is one element.
    std::vector<std::string> lines_;
    std::string byteOrderMark_; // UTF-8's, as read
    bool utf16_ = false;        // read from UTF-16LE, written back as such
    bool hasHeader_ = false;
    bool blank_ = true;
    std::string lineEnd_ = "\n"; // the header line's, for lines added
    // Per key: the line after which a new value goes, and each entry's line.
    std::vector<std::size_t> keyEnd_;
    std::vector<std::vector<std::size_t>> entryLine_;

    std::vector<Key> keys_;
    // Folded path -> position in keys_. Ordered, so the keys below a path
    // sit together after it.
    std::map<std::string, std::size_t, std::less<>> keyIndex_;
    // Per key: folded value name -> position in its entries.
    std::vector<std::unordered_map<std::string, std::size_t>> valueIndex_;
};

} // namespace kelvane
