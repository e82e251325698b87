// SPDX-License-Identifier: GPL-3.0-or-later
// What the About box tells about the machine.
#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

struct SystemVersion {
    std::string name; // "Linux"; "Windows" on Windows
    unsigned major = 0;
    unsigned minor = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual SystemVersion Version() = 0;
    // Total physical memory in bytes; 0 when the system does not tell.
    virtual uint64_t TotalMemoryBytes() = 0;
};

// The running system: uname and sysinfo.
SystemInfo& ThisSystem();

// "<name> <major>.<minor>", the minor with at least two digits: "Linux 6.01".
std::string VersionText(const SystemVersion& version);

} // namespace kelvane
