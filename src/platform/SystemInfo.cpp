// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemInfo.h"

#include <cstdio>
#include <cstdlib>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace kelvane {
namespace {

// "6.1.0-13-amd64" gives 6 and 1; what can't be read stays 0.
void ParseRelease(const char* release, SystemVersion& version) {
    char* end = nullptr;
    version.major = static_cast<unsigned>(std::strtoul(release, &end, 10));
    if (end != nullptr && *end == '.')
        version.minor = static_cast<unsigned>(std::strtoul(end + 1, nullptr, 10));
}

class PosixSystemInfo : public SystemInfo {
public:
    SystemVersion Version() override {
        SystemVersion version;
        struct utsname names {};
        if (::uname(&names) != 0)
            return version;
        version.name = names.sysname;
        ParseRelease(names.release, version);
        return version;
    }

    uint64_t TotalMemoryBytes() override {
        struct sysinfo info {};
        if (::sysinfo(&info) != 0)
            return 0;
        return static_cast<uint64_t>(info.totalram) * info.mem_unit;
    }
};

} // namespace

SystemInfo& ThisSystem() {
    static PosixSystemInfo system;
    return system;
}

std::string VersionText(const SystemVersion& version) {
    char numbers[32];
    static_cast<void>(
        std::snprintf(numbers, sizeof numbers, "%u.%.2u", version.major, version.minor));
    return version.name + " " + numbers;
}

} // namespace kelvane
