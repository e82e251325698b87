// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's drives: on Linux the mounted volumes where a user keeps files.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

struct Volume {
    std::string mountPoint; // "/", "/media/usb"
    std::string label;      // file system label or network source; may be empty
    std::string device;     // "/dev/sdb1", "server:/export"
    std::string fileSystem; // "ext4", "vfat", "nfs4"
};

class DriveList {
public:
    virtual ~DriveList() = default;
    // Mounted volumes sorted by mount point, the root first.
    virtual std::vector<Volume> MountedVolumes() = 0;
    // A drive is ready when its free-space query succeeds.
    virtual bool IsReady(const Volume& volume) = 0;
};

// The running system's volumes, from /proc/self/mounts, readiness by statvfs.
DriveList& SystemDrives();

// The volumes of a mount table in the format of /proc/self/mounts, without
// the kernel's own file systems; labelOf names the label of a device.
std::vector<Volume>
VolumesFromMountTable(std::string_view table,
                      const std::function<std::string(const std::string&)>& labelOf);

// The item text of a drive selector: the mount point, then the label in
// square brackets when there is one ("/media/usb [STICK]").
std::string DriveItemText(const Volume& volume);

// Index of the volume that holds an absolute directory (the longest mount
// point above it), or -1 when none does.
int VolumeIndexFor(const std::vector<Volume>& volumes, const std::string& directory);

} // namespace kelvane
