// SPDX-License-Identifier: GPL-3.0-or-later
// The registry below HKEY_CLASSES_ROOT, as the program sees it: an accessor
// that holds one open key at a time, reads strings and 32-bit integers and
// writes 32-bit integers. Keys are opened, never created.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kelvane {

enum class RegDataType {
    None,         // no such value, or no key open
    String,       // REG_SZ
    ExpandString, // REG_EXPAND_SZ
    Integer,      // REG_DWORD
    Binary,       // REG_BINARY and every other kind the program never reads
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens a key without creating it. A leading backslash makes the path
    // absolute ("\crypt file\Settings\Options"); otherwise it is taken below
    // the open key. On failure no key is open.
    virtual bool OpenKey(const std::string& path) = 0;
    virtual void CloseKey() = 0;

    // Values of the open key; the empty name is the key's default value.
    virtual RegDataType GetDataType(const std::string& name) const = 0;
    // Empty when the value is missing or not a string (REG_SZ, REG_EXPAND_SZ).
    virtual std::optional<std::string> ReadString(const std::string& name) const = 0;
    // Empty when the value is missing or not a REG_DWORD.
    virtual std::optional<int32_t> ReadInteger(const std::string& name) const = 0;
    // Stores a REG_DWORD in the open key; false when no key is open or the
    // value could not be stored.
    virtual bool WriteInteger(const std::string& name, int32_t value) = 0;
    // The user's settings file when it exists but could not be read in full:
    // writes never replace it, so changes last for this run only. Empty when
    // writes can be kept.
    virtual std::string UnreadableFile() const { return {}; }
};

// The program's registry: on Linux the layered file store of RegistryStore.h
// at its usual places.
std::unique_ptr<Registry> OpenClassesRoot();

} // namespace kelvane
