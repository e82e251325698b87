// SPDX-License-Identifier: GPL-3.0-or-later
// What the two password dialogs share: the file label, the first password
// field, the note, "Submit", "Cancel" and "One password for a file list".
#pragma once

#include "commands/PasswordPolicy.h"
#include "ui/ModalForm.h"

#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane {

// The text's UTF-16 code units, without a copy.
std::u16string_view Utf16Of(const QString& text);
// Empties a password field after overwriting the text it held.
void WipeField(QLineEdit* field);

class TPasswordForm : public TModalForm, public PasswordDialog {
    Q_OBJECT
public:
    QLabel* Label4;
    QLabel* FName_Label;
    QLabel* Image1;
    QLineEdit* MaskEdit1;
    QLabel* Label3;
    QLabel* Label2;
    QPushButton* Button2; // "Submit"
    QPushButton* Button1; // "Cancel"
    QCheckBox* CheckBox1;

    void FormActivate() override;
    void CheckBox1Click();
    virtual void Button2Click() = 0;

    // The password step's view of the dialog.
    bool OneForListChecked() const override;
    void SetFileLabel(const std::string& text) override;
    int ShowModal() override { return TModalForm::ShowModal(); }
    void TakePassword(SecretString& password) override;
    void ClearFields() override;

protected:
    // `fieldsBottom`: where the fields end and the note begins.
    TPasswordForm(QWidget* parent, const QString& caption, const QString& prompt, int fieldsBottom);

    // Names the characters of `text` that a password can't hold and returns
    // true, or returns false when there are none: told before any length or
    // repetition test, so the user learns what to change.
    static bool RefuseForeignCharacters(const QString& text);
    static QLineEdit* NewPasswordField(QWidget* parent);
};

} // namespace kelvane
