// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Drives.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

std::vector<std::string> MountPoints(const std::vector<Volume>& volumes) {
    std::vector<std::string> points;
    for (const Volume& volume : volumes)
        points.push_back(volume.mountPoint);
    return points;
}

const char* const kMounts = "overlay / overlay rw,relatime 0 0\n"
                            "proc /proc proc rw 0 0\n"
                            "sysfs /sys sysfs ro 0 0\n"
                            "tmpfs /dev tmpfs rw 0 0\n"
                            "/dev/sda2 /home ext4 rw 0 0\n"
                            "tmpfs /tmp tmpfs rw 0 0\n"
                            "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                            "/dev/sdb1 /run/media/ann/STICK vfat rw 0 0\n"
                            "/dev/sdc1 /media/My\\040Disk ext4 rw 0 0\n"
                            "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                            "server:/export /mnt/share nfs4 rw 0 0\n"
                            "/dev/sdd1 /mnt/old ext4 rw 0 0\n"
                            "tmpfs /mnt/old tmpfs rw 0 0\n"
                            "garbage\n";

TEST(Drives, TheMountTableGivesTheVolumesThatHoldFiles) {
    const auto volumes = VolumesFromMountTable(kMounts, [](const std::string& device) {
        return device == "/dev/sdb1" ? std::string("STICK") : std::string();
    });
    EXPECT_EQ(MountPoints(volumes),
              (std::vector<std::string>{"/", "/home", "/media/My Disk", "/mnt/share",
                                        "/run/media/ann/STICK", "/tmp"}));
    EXPECT_EQ(DriveItemText(volumes[4]), "/run/media/ann/STICK [STICK]");
    EXPECT_EQ(DriveItemText(volumes[3]), "/mnt/share [server:/export]");
    EXPECT_EQ(DriveItemText(volumes[1]), "/home");
}

TEST(Drives, ADirectoryBelongsToTheDeepestVolumeAboveIt) {
    const std::vector<Volume> volumes{
        {"/", "", "", ""}, {"/media", "", "", ""}, {"/media/usb", "", "", ""}};
    EXPECT_EQ(VolumeIndexFor(volumes, "/media/usb/docs"), 2);
    EXPECT_EQ(VolumeIndexFor(volumes, "/media/usb"), 2);
    EXPECT_EQ(VolumeIndexFor(volumes, "/media/usbother"), 1);
    EXPECT_EQ(VolumeIndexFor(volumes, "/home"), 0);
    EXPECT_EQ(VolumeIndexFor(volumes, "relative"), -1);
    EXPECT_EQ(VolumeIndexFor({}, "/home"), -1);
}

TEST(Drives, ThisMachineHasAReadyRootAndNoMissingVolumeIsReady) {
    const auto volumes = SystemDrives().MountedVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front().mountPoint, "/");
    EXPECT_TRUE(SystemDrives().IsReady(volumes.front()));
    EXPECT_FALSE(SystemDrives().IsReady({"/no/such/mount/point", "", "", ""}));
}

} // namespace
} // namespace kelvane
