#include "commands/PasswordPolicy.h"

#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/CryptFile.h"
#include "crypto/SecureWipe.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

namespace kelvane {

int32_t PwdTicks = 0;

bool PasswordExpired() {
    // 64 bits: Expire is used as loaded, however large.
    return Expire != 0 && int64_t{Expire} * 60 < int64_t{PwdTicks};
}

void CountPasswordSecond() {
    if (PwdTicks < INT32_MAX)
        ++PwdTicks;
}

void WipeRememberedPassword() {
    SecureWipe(RememberedPassword.data(), RememberedPassword.size());
    RememberedPassword.clear();
}

std::string FileLabelText(const std::string& directory, const std::string& displayName) {
    // A full path is shown whole: a file watched in a folder the user has
    // since left is not in the folder shown now.
    if (!displayName.empty() && displayName.front() == kPathSeparator)
        return displayName;
    return JoinPath(directory, NamePart(displayName));
}

PasswordStep ObtainPassword(PasswordHost& host, PasswordDialog& dialog,
                            const std::string& displayName) {
    host.SetPwdTimerEnabled(OnePassword > 0);
    const bool expired = PasswordExpired();
    if (OnePassword > 0 && expired)
        WipeRememberedPassword();

    // An empty remembered password is never handed on: it would be a key of
    // zeros, and the user would not know the file was locked with it.
    if (!RememberedPassword.empty()) {
        if (OnePassword > 0 && HavePassword && !expired)
            return PasswordStep::GoOn;
        if (!FirstOfList && dialog.OneForListChecked())
            return PasswordStep::GoOn;
    }

    dialog.SetFileLabel(FileLabelText(host.DirLabelText(), displayName));
    if (dialog.ShowModal() != mrOk) {
        dialog.ClearFields();
        if (FirstOfList)
            CancelRequested = true;
        return PasswordStep::Stop;
    }
    WipeRememberedPassword();
    dialog.TakePassword(RememberedPassword);
    if (RememberedPassword.empty())
        return PasswordStep::Stop; // nothing usable came back: never a key of zeros
    PwdTicks = 0;
    HavePassword = OnePassword > 0;
    return PasswordStep::GoOn;
}

} // namespace kelvane
