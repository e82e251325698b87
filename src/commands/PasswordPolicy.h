// SPDX-License-Identifier: GPL-3.0-or-later
// Where the password for an encryption or decryption comes from: a dialog,
// or the password remembered for the session or for a file list.
#pragma once

#include "commands/State.h"

#include <cstdint>
#include <string>

namespace kelvane {

// A password dialog as the password step sees it (TEncrypt, TDecrypt).
class PasswordDialog {
public:
    virtual ~PasswordDialog() = default;
    // "One password for a file list" (CheckBox1) is ticked.
    virtual bool OneForListChecked() const = 0;
    // The directory and name shown above the fields (FName_Label).
    virtual void SetFileLabel(const std::string& text) = 0;
    // Shows the dialog modally and returns mrOk or mrCancel.
    virtual int ShowModal() = 0;
    // Moves the accepted password (MaskEdit1) into `password` as Windows-1252
    // bytes and empties every field that held it.
    virtual void TakePassword(SecretString& password) = 0;
    // Empties every field without taking anything (after a cancel).
    virtual void ClearFields() = 0;
};

// What the password step needs of the main window.
class PasswordHost {
public:
    virtual ~PasswordHost() = default;
    // The current directory as the hidden DirLabel holds it.
    virtual std::string DirLabelText() const = 0;
    virtual void SetPwdTimerEnabled(bool enabled) = 0;
};

enum class PasswordStep { GoOn, Stop };

// The password step of both single-file commands. With GoOn,
// RememberedPassword holds the password to use; Stop means the user
// cancelled, and CancelRequested is then set when the whole run is to end:
// for the first file of a list, for a file asked for again because the
// remembered password was refused, and when the user says so.
PasswordStep ObtainPassword(PasswordHost& host, PasswordDialog& dialog,
                            const std::string& displayName);

// Asked when the user cancels the password dialog of a file within a run
// over several files: Yes stops the run, No skips only that file.
std::string StopRunQuestion(const std::string& displayName);

// The remembered password is past its Expire minutes.
bool PasswordExpired();

// Whether ObtainPassword may show `dialog` now rather than hand on the
// remembered password.
bool PasswordMayBeAsked(const PasswordDialog& dialog);

// One tick of PwdTimer. The tick that ends the password's Expire minutes
// wipes it, unless a command is using it; that command's end does.
void CountPasswordSecond();

// Overwrites the remembered password in place and drops it.
void WipeRememberedPassword();

// Held by every command that may hand the remembered password on: a single
// file, a selection whose later files reuse the first one's password, a
// crypted file opened for an application, which is encrypted again with the
// same password when the application can't be started. When the outermost
// one ends, the password is wiped unless it is kept for the session and has
// not expired: otherwise the next question asks anyway, and until then it
// would only wait in memory to be found.
class PasswordUse {
public:
    PasswordUse();
    ~PasswordUse();
    PasswordUse(const PasswordUse&) = delete;
    PasswordUse& operator=(const PasswordUse&) = delete;
};

// The dialog's file label: the directory, a separator unless the directory
// is the root, and the last component of the name.
std::string FileLabelText(const std::string& directory, const std::string& displayName);

} // namespace kelvane
