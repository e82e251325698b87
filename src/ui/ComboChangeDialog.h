// SPDX-License-Identifier: GPL-3.0-or-later
// "Invalid device": holds the user until a ready drive is picked in its own
// drive selector, then hands that pick to the main window's selector.
#pragma once

#include "platform/Drives.h"
#include "ui/ModalForm.h"

class QFrame;
class QLabel;

namespace kelvane {

class TDriveComboBox;

class TComboChange : public TModalForm {
    Q_OBJECT
public:
    explicit TComboChange(DriveList& drives, QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* Label1;
    TDriveComboBox* DriveComboBox1;

    void DriveComboBox1Click(int index);

    // The selector that receives a ready pick: the main window's.
    TDriveComboBox* MainSelector = nullptr;

protected:
    void FormActivate() override;
};

extern TComboChange* ComboChange;

} // namespace kelvane
