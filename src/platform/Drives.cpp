// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Drives.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/statvfs.h>

namespace kelvane {
namespace {

// File systems that hold no user files.
constexpr std::array<std::string_view, 27> kPseudoFileSystems{
    "autofs", "binfmt_misc", "bpf",      "cgroup",     "cgroup2",         "configfs",   "debugfs",
    "devpts", "devtmpfs",    "efivarfs", "fusectl",    "hugetlbfs",       "mqueue",     "nsfs",
    "proc",   "pstore",      "ramfs",    "rpc_pipefs", "securityfs",      "selinuxfs",  "squashfs",
    "sysfs",  "tracefs",     "tmpfs",    "overlay",    "fuse.gvfsd-fuse", "fuse.portal"};

constexpr std::array<std::string_view, 5> kSystemTrees{"/proc", "/sys", "/dev", "/run", "/snap"};

constexpr std::array<std::string_view, 6> kNetworkFileSystems{"nfs",  "nfs4",  "cifs",
                                                              "smb3", "smbfs", "fuse.sshfs"};

bool IsUnder(std::string_view path, std::string_view tree) {
    return path == tree || (path.starts_with(tree) && path[tree.size()] == '/');
}

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The root of a container sits on an overlay, and /tmp is often a tmpfs:
// both hold user files although their kinds usually don't.
bool HoldsUserFiles(const std::string& mountPoint, const std::string& fileSystem) {
    if (mountPoint == "/" || (mountPoint == "/tmp" && fileSystem == "tmpfs"))
        return true;
    if (Contains(kPseudoFileSystems, fileSystem))
        return false;
    if (IsUnder(mountPoint, "/run/media"))
        return true;
    return std::none_of(kSystemTrees.begin(), kSystemTrees.end(),
                        [&mountPoint](std::string_view tree) { return IsUnder(mountPoint, tree); });
}

// The mount table writes space, tab, newline and backslash as \ooo.
std::string Unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size();
        if (octal && std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                                 [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// udev writes unusual characters of a label as \xHH.
std::string UnescapeLabel(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.substr(i, 2) == "\\x" && i + 3 < name.size() &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(std::string(name.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

std::string ReadWholeFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, std::string> LabelsByDevice() {
    std::map<std::string, std::string> labels;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/disk/by-label", error)) {
        const auto device = std::filesystem::canonical(entry.path(), error);
        if (!error)
            labels[device.string()] = UnescapeLabel(entry.path().filename().string());
    }
    return labels;
}

class SystemDriveList : public DriveList {
public:
    std::vector<Volume> MountedVolumes() override {
        const auto labels = LabelsByDevice();
        auto labelOf = [&labels](const std::string& device) {
            std::error_code error;
            const auto canonical = std::filesystem::canonical(device, error);
            const auto found = labels.find(error ? device : canonical.string());
            return found == labels.end() ? std::string() : found->second;
        };
        std::vector<Volume> volumes =
            VolumesFromMountTable(ReadWholeFile("/proc/self/mounts"), labelOf);
        // A file bind-mounted over another (a container's /etc/hosts) is no drive.
        std::erase_if(volumes, [](const Volume& volume) {
            std::error_code error;
            return !std::filesystem::is_directory(volume.mountPoint, error);
        });
        if (volumes.empty())
            volumes.push_back({"/", "", "", ""});
        return volumes;
    }

    bool IsReady(const Volume& volume) override {
        struct statvfs info {};
        return ::statvfs(volume.mountPoint.c_str(), &info) == 0;
    }
};

} // namespace

std::vector<Volume>
VolumesFromMountTable(std::string_view table,
                      const std::function<std::string(const std::string&)>& labelOf) {
    std::map<std::string, Volume> byMountPoint; // a later mount hides an earlier one
    std::istringstream lines{std::string(table)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fileSystem;
        if (!(fields >> device >> mountPoint >> fileSystem))
            continue;
        Volume volume{Unescape(mountPoint), "", Unescape(device), fileSystem};
        if (volume.mountPoint.empty() || volume.mountPoint[0] != '/' ||
            !HoldsUserFiles(volume.mountPoint, fileSystem)) {
            byMountPoint.erase(volume.mountPoint);
            continue;
        }
        volume.label = Contains(kNetworkFileSystems, fileSystem) ? volume.device
                       : labelOf                                 ? labelOf(volume.device)
                                                                 : std::string();
        byMountPoint[volume.mountPoint] = std::move(volume);
    }
    std::vector<Volume> volumes;
    volumes.reserve(byMountPoint.size());
    for (auto& entry : byMountPoint)
        volumes.push_back(std::move(entry.second));
    return volumes;
}

DriveList& SystemDrives() {
    static SystemDriveList drives;
    return drives;
}

std::string DriveItemText(const Volume& volume) {
    return volume.label.empty() ? volume.mountPoint : volume.mountPoint + " [" + volume.label + "]";
}

int VolumeIndexFor(const std::vector<Volume>& volumes, const std::string& directory) {
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const std::string& mountPoint = volumes[i].mountPoint;
        const bool holds = mountPoint == "/" || IsUnder(directory, mountPoint);
        if (holds && directory.starts_with("/") && (best < 0 || mountPoint.size() > bestLength)) {
            best = static_cast<int>(i);
            bestLength = mountPoint.size();
        }
    }
    return best;
}

} // namespace kelvane
