// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences dialog: the four preferences of the run.
#pragma once

#include "ui/ModalForm.h"

#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kelvane {

class TPreferences : public TModalForm {
    Q_OBJECT
public:
    explicit TPreferences(QWidget* parent = nullptr);

    static constexpr int HelpContext = 80;

    QGroupBox* GroupBox1;
    QCheckBox* ShowCry_CheckBox;
    QCheckBox* OnePwd_CheckBox;
    QCheckBox* OnePerList_CheckBox;
    QFrame* Panel1; // over OnePerList_CheckBox, shown in its place
    QLabel* Label1;
    QSpinBox* Expire_SpinEdit;
    QLabel* Label2;
    QPushButton* Button3; // "Reset value"
    QPushButton* Button1; // "Ok"
    QPushButton* Button2; // "Cancel"

    // Runs on every change of either password box: the two options exclude
    // each other, and the expiry panel takes the list box's place.
    void OnePwd_CheckBoxClick();
    void Button3Click();

    // Fills the controls from the preferences, in the order that lets the
    // visibility rule run as each box changes.
    void LoadPreferences();
    // Takes the preferences from the controls.
    void StorePreferences() const;

protected:
    void FormActivate() override;
};

extern TPreferences* Preferences;

// Shows the Preferences dialog, keeps what "Ok" confirms, and refreshes the
// lists either way so a changed ShowCry shows at once.
void RunPreferences(TPreferences& dialog, const std::function<void()>& refreshLists);

} // namespace kelvane
