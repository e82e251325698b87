// SPDX-License-Identifier: GPL-3.0-or-later
// The passphrase of a conversion to age, asked twice, with a word on what
// age is and what happens to the crypted files.
#pragma once

#include "commands/FileCommands.h"
#include "crypto/Secret.h"
#include "ui/ModalForm.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane {

class TAgePassphrase : public TModalForm {
    Q_OBJECT
public:
    explicit TAgePassphrase(QWidget* parent = nullptr);

    // Shows the dialog until two equal, non-empty passphrases are entered or
    // the user cancels; false on Cancel. The passphrase goes from the fields
    // into `passphrase` as UTF-8, and the fields are wiped: no other copy of
    // it is left behind.
    bool Ask(SecretString& passphrase);

    QLabel* Label1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* OK;
    QPushButton* Cancel;

protected:
    void FormActivate() override;
};

// The age passphrase of one conversion run: asked when the first file needs
// it (after that file's password), then served to every later file, and
// wiped when the run is over.
class TAgeTargetOfRun {
public:
    explicit TAgeTargetOfRun(QWidget* parent) : parent_(parent) {}
    TAgeTargetOfRun(const TAgeTargetOfRun&) = delete;
    TAgeTargetOfRun& operator=(const TAgeTargetOfRun&) = delete;

    AgeTargetSource Source() {
        return [this] { return Target(); };
    }

private:
    // Null once the user has cancelled the question.
    const AgeTarget* Target();

    QWidget* parent_;
    SecretString passphrase_;
    AgeTarget target_;
    enum class Asked { Not, Given, Cancelled } asked_ = Asked::Not;
};

} // namespace kelvane
