#include "platform/Drives.h"

namespace kelvane {

DriveList& SystemDrives() {
    struct Stub : DriveList {
        std::vector<Volume> MountedVolumes() override { return {{"/", "", "", ""}}; }
        bool IsReady(const Volume&) override { return true; }
    };
    static Stub drives;
    return drives;
}

std::string DriveItemText(const Volume& volume) {
    return volume.label.empty() ? volume.mountPoint : volume.mountPoint + " [" + volume.label + "]";
}

int VolumeIndexFor(const std::vector<Volume>&, const std::string&) {
    return 0;
}

} // namespace kelvane
