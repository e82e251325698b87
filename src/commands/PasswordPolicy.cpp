// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/PasswordPolicy.h"

#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/Translate.h"
#include "engine/CryptFile.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

namespace kelvane {

bool PasswordExpired() {
    // 64 bits: Expire is used as loaded, however large.
    return Expire != 0 && int64_t{Expire} * 60 < int64_t{PwdTicks};
}

void CountPasswordSecond() {
    if (PwdTicks < INT32_MAX)
        ++PwdTicks;
    // No file can use an expired password any more: it goes at once, not
    // when the next file is asked for. A command that runs on has its own
    // key already and wipes it at its end.
    if (PasswordUses == 0 && PasswordExpired())
        WipeRememberedPassword();
}

void WipeRememberedPassword() {
    RememberedPassword.Wipe();
}

PasswordUse::PasswordUse() {
    ++PasswordUses;
}

PasswordUse::~PasswordUse() {
    if (--PasswordUses > 0)
        return;
    const bool keptForTheSession = OnePassword > 0 && HavePassword && !PasswordExpired();
    if (!keptForTheSession)
        WipeRememberedPassword();
}

std::string FileLabelText(const std::string& directory, const std::string& displayName) {
    // A full path is shown whole: a file watched in a folder the user has
    // since left is not in the folder shown now.
    if (!displayName.empty() && displayName.front() == kPathSeparator)
        return displayName;
    return JoinPath(directory, NamePart(displayName));
}

std::string StopRunQuestion(const std::string& displayName) {
    return FormatText(Tr("PasswordPolicy", "File \"%1\" is skipped. Stop processing the "
                                           "remaining files too?"),
                      {displayName});
}

namespace {

// Whether the remembered password would serve this file without a dialog.
bool RememberedServes(const PasswordDialog& dialog, bool expired) {
    // An empty remembered password is never handed on: it would be a key of
    // zeros, and the user would not know the file was locked with it.
    if (RememberedPassword.empty())
        return false;
    if (OnePassword > 0 && HavePassword && !expired)
        return true;
    return !FirstOfList && dialog.OneForListChecked();
}

// A cancelled dialog skips its file. The first file of a list, and a file
// asked for because the remembered password was refused, end the whole run
// with it: nothing the user meant to happen can come of going on. Any other
// file of a run asks, or a run of thousands of files would take as many
// Cancels to leave.
void NoteCancel(const std::string& displayName, bool askedAgain) {
    const bool endsTheRun = FirstOfList || (askedAgain && RunOfFiles);
    if (endsTheRun ||
        (RunOfFiles && ShowConfirmation(StopRunQuestion(displayName), mbYes | mbNo) == mrYes))
        CancelRequested = true;
}

} // namespace

bool PasswordMayBeAsked(const PasswordDialog& dialog) {
    return PasswordRefused || PasswordExpired() || !RememberedServes(dialog, false);
}

PasswordStep ObtainPassword(PasswordHost& host, PasswordDialog& dialog,
                            const std::string& displayName) {
    host.SetPwdTimerEnabled(OnePassword > 0);
    const bool expired = PasswordExpired();
    if (OnePassword > 0 && expired)
        WipeRememberedPassword();

    const bool serves = RememberedServes(dialog, expired);
    if (serves && !PasswordRefused)
        return PasswordStep::GoOn;

    dialog.SetFileLabel(FileLabelText(host.DirLabelText(), displayName));
    if (dialog.ShowModal() != mrOk) {
        dialog.ClearFields();
        NoteCancel(displayName, serves);
        return PasswordStep::Stop;
    }
    WipeRememberedPassword();
    dialog.TakePassword(RememberedPassword);
    if (RememberedPassword.empty())
        return PasswordStep::Stop; // nothing usable came back: never a key of zeros
    PasswordRefused = false;
    PwdTicks = 0;
    HavePassword = OnePassword > 0;
    return PasswordStep::GoOn;
}

} // namespace kelvane
