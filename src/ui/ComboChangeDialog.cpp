// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ComboChangeDialog.h"

#include "ui/DriveComboBox.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>

namespace kelvane {

TComboChange* ComboChange = nullptr;

TComboChange::TComboChange(DriveList& drives, QWidget* parent) : TModalForm(parent) {
    setWindowTitle(QCoreApplication::translate("ComboChangeDialog", "Invalid device"));
    // No close box and no system menu: a ready drive is the way out.
    SetDialogFrame(CloseBox::No);
    setFixedSize(248, 81);

    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setGeometry(0, 0, 248, 81);
    // The red message on a face of its own, so a dark desktop palette leaves
    // it as readable as a light one.
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    face.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(face);
    Panel1->setAutoFillBackground(true);

    Label1 = new QLabel(QCoreApplication::translate(
                            "ComboChangeDialog",
                            "Device you have selected isn't ready. Please specify another one."),
                        Panel1);
    Label1->setGeometry(12, 8, 226, 32);
    Label1->setWordWrap(true);
    QFont font = Label1->font();
    font.setPixelSize(13);
    Label1->setFont(font);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(0xCC, 0x00, 0x00));
    Label1->setPalette(red);

    DriveComboBox1 = new TDriveComboBox(drives, Panel1);
    DriveComboBox1->setAccessibleName(QCoreApplication::translate("ComboChangeDialog", "Drive"));
    DriveComboBox1->setGeometry(12, 52, 169, DriveComboBox1->sizeHint().height());
    connect(DriveComboBox1, &TDriveComboBox::Picked, this, &TComboChange::DriveComboBox1Click);
}

void TComboChange::FormActivate() {
    CentreOnScreen();
    // The same items as the main selector, so an index means the same drive
    // in both; the pick stays whatever it was last time.
    if (MainSelector != nullptr)
        DriveComboBox1->SetVolumes(MainSelector->Volumes());
}

void TComboChange::DriveComboBox1Click(int index) {
    if (!DriveComboBox1->ReadyAt(index))
        return;
    if (MainSelector != nullptr)
        MainSelector->Select(index);
    SetModalResult(mrOk);
}

} // namespace kelvane
