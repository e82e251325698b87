// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DriveComboBox.h"

#include "ui/AccessibleControls.h"

#include <QSignalBlocker>

namespace kelvane {

TDriveComboBox::TDriveComboBox(DriveList& drives, QWidget* parent)
    : QComboBox(parent), drives_(drives) {
    InstallAccessibleControls();
    connect(this, &QComboBox::activated, this, &TDriveComboBox::Picked);
    Reload();
}

void TDriveComboBox::Reload() {
    SetVolumes(drives_.MountedVolumes());
}

void TDriveComboBox::SetVolumes(std::vector<Volume> volumes) {
    const QSignalBlocker blocker(this);
    std::string selected;
    if (currentIndex() >= 0 && currentIndex() < static_cast<int>(volumes_.size()))
        selected = volumes_[static_cast<std::size_t>(currentIndex())].mountPoint;
    const int previousIndex = currentIndex();
    volumes_ = std::move(volumes);
    clear();
    int keep = -1;
    for (std::size_t i = 0; i < volumes_.size(); ++i) {
        addItem(QString::fromStdString(DriveItemText(volumes_[i])));
        if (!selected.empty() && volumes_[i].mountPoint == selected)
            keep = static_cast<int>(i);
    }
    if (keep < 0 && previousIndex >= 0 && previousIndex < count())
        keep = previousIndex;
    setCurrentIndex(keep);
}

void TDriveComboBox::ShowDirectory(const std::string& directory) {
    Select(VolumeIndexFor(volumes_, directory));
}

void TDriveComboBox::Select(int index) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
}

bool TDriveComboBox::ReadyAt(int index) {
    if (index < 0 || index >= static_cast<int>(volumes_.size()))
        return false;
    return drives_.IsReady(volumes_[static_cast<std::size_t>(index)]);
}

void TDriveComboBox::showPopup() {
    Reload();
    QComboBox::showPopup();
}

} // namespace kelvane
