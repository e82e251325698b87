// The registry kept in files of the registry's own text export format
// ("Windows Registry Editor Version 5.00"). Two layers: the system layer the
// installer puts beside the program, and the user's layer over it. Reads see
// the user layer first; writes go to the user layer, only into keys that
// already exist in either layer.
#pragma once

#include "crypto/FileAccess.h"
#include "platform/Registry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

// One file's keys and values in file order. Key paths are below
// HKEY_CLASSES_ROOT, without a leading backslash, and compare without regard
// to case, as value names do.
class RegistryDocument {
public:
    struct Entry {
        std::string name; // empty: the key's default value
        RegValue value;
    };
    struct Key {
        std::string path;
        std::vector<Entry> entries;
    };

    // Never fails: lines it cannot understand are skipped, and a text without
    // the format's header line reads as no keys at all.
    static RegistryDocument Parse(std::string_view text);
    std::string Serialize() const;

    // True for a key written in the file and for every key above one.
    bool HasKey(std::string_view path) const;
    const RegValue* Find(std::string_view path, std::string_view name) const;
    // Adds the key to this document when it is not there yet.
    void Set(std::string_view path, const std::string& name, const RegValue& value);

    const std::vector<Key>& Keys() const { return keys_; }

private:
    Key* FindKey(std::string_view path);
    const Key* FindKey(std::string_view path) const;

    std::vector<Key> keys_;
};

// Reads a file; a missing or unreadable file reads as an empty document.
RegistryDocument LoadRegistryDocument(const std::string& path);
// Replaces the file in one step (temporary file, flush, rename), creating its
// directory first; on any failure the old file stays as it was.
bool SaveRegistryDocument(const std::string& path, const RegistryDocument& document,
                          FileAccess& files = SystemFiles());

struct RegistryPaths {
    std::string system; // $KELVANE_SYSTEM_REGISTRY, else <exe dir>/../share/kelvane/kelvane.reg
    std::string user;   // $XDG_CONFIG_HOME/kelvane/registry.reg, XDG default ~/.config
};
RegistryPaths DefaultRegistryPaths();

class LayeredRegistry : public Registry {
public:
    explicit LayeredRegistry(RegistryPaths paths, FileAccess& files = SystemFiles());

    bool OpenKey(const std::string& path) override;
    void CloseKey() override;
    RegDataType GetDataType(const std::string& name) const override;
    std::optional<std::string> ReadString(const std::string& name) const override;
    std::optional<int32_t> ReadInteger(const std::string& name) const override;
    bool WriteInteger(const std::string& name, int32_t value) override;

private:
    const RegValue* Lookup(const std::string& name) const;

    RegistryPaths paths_;
    FileAccess& files_;
    RegistryDocument system_;
    RegistryDocument user_;
    std::optional<std::string> openKey_;
};

} // namespace kelvane
