// SPDX-License-Identifier: GPL-3.0-or-later
// A drop-down list of the mounted volumes, read again each time it opens.
#pragma once

#include "platform/Drives.h"

#include <QComboBox>
#include <vector>

namespace kelvane {

class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(DriveList& drives, QWidget* parent = nullptr);

    DriveList& Drives() { return drives_; }
    const std::vector<Volume>& Volumes() const { return volumes_; }

    // Reads the volumes again, keeping the selected one where it still is.
    void Reload();
    // Shows the given volumes, keeping the selected index where possible.
    void SetVolumes(std::vector<Volume> volumes);
    // Selects the volume that holds the directory, without a Picked signal.
    void ShowDirectory(const std::string& directory);
    // Selects an item without a Picked signal.
    void Select(int index);

    // The readiness test: the volume answers its free-space query.
    bool ReadyAt(int index);

signals:
    // The user picked an item (also the one already selected).
    void Picked(int index);

protected:
    void showPopup() override;

private:
    DriveList& drives_;
    std::vector<Volume> volumes_;
};

} // namespace kelvane
