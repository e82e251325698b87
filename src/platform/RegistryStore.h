// SPDX-License-Identifier: GPL-3.0-or-later
// The registry kept in files of the registry's own text export format
// ("Windows Registry Editor Version 5.00"). Two layers: the system layer the
// installer puts beside the program, and the user's layer over it. Reads see
// the user layer first; writes go to the user layer, only into keys that
// already exist in either layer.
#pragma once

#include "platform/FileAccess.h"
#include "platform/Registry.h"
#include "platform/RegistryDocument.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kelvane {

// Far beyond any registry file of ours (a system's file-type keys fill about
// one MiB); a bigger file is not read, and never replaced.
inline constexpr std::size_t kMaxRegistryFileBytes = std::size_t{16} << 20;

struct RegistryFile {
    RegistryDocument document;
    // False when the file exists but was not read in full: unreadable, over
    // the size limit, no registry text, or a text that would not be written
    // back byte for byte. Replacing it would lose what was not read.
    bool mayReplace = true;
};
RegistryFile ReadRegistryFile(const std::string& path);
// The document alone; a missing or unreadable file reads as an empty one.
RegistryDocument LoadRegistryDocument(const std::string& path);
// Replaces the file in one step (temporary file beside it, flush, rename),
// creating its directory first; on any failure the old file stays as it
// was. A symbolic link stays a link: the file it leads to is replaced.
bool SaveRegistryDocument(const std::string& path, const RegistryDocument& document,
                          FileAccess& files = SystemFilesForReading());

struct RegistryPaths {
    std::string system; // $KELVANE_SYSTEM_REGISTRY, else <exe dir>/../share/kelvane/kelvane.reg
    std::string user;   // $XDG_CONFIG_HOME/kelvane/registry.reg, XDG default ~/.config
};
RegistryPaths DefaultRegistryPaths();

class LayeredRegistry : public Registry {
public:
    explicit LayeredRegistry(RegistryPaths paths, FileAccess& files = SystemFilesForReading());

    bool OpenKey(const std::string& path) override;
    void CloseKey() override;
    RegDataType GetDataType(const std::string& name) const override;
    std::optional<std::string> ReadString(const std::string& name) const override;
    std::optional<int32_t> ReadInteger(const std::string& name) const override;
    bool WriteInteger(const std::string& name, int32_t value) override;
    std::string UnreadableFile() const override;

private:
    const RegValue* Lookup(const std::string& name) const;

    RegistryPaths paths_;
    FileAccess& files_;
    RegistryDocument system_;
    RegistryDocument user_;
    bool userMayReplace_ = true;
    std::optional<std::string> openKey_;
};

} // namespace kelvane
