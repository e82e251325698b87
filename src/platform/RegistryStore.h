// The registry kept in files of the registry's own text export format
// ("Windows Registry Editor Version 5.00"). Two layers: the system layer the
// installer puts beside the program, and the user's layer over it. Reads see
// the user layer first; writes go to the user layer, only into keys that
// already exist in either layer.
#pragma once

#include "platform/FileAccess.h"
#include "platform/Registry.h"
#include "platform/RegistryDocument.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kelvane {

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
