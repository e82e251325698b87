// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Forms.h"

#include "ui/AboutDialog.h"
#include "ui/ComboChangeDialog.h"
#include "ui/DecryptDialog.h"
#include "ui/DelDialog.h"
#include "ui/EncryptDialog.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/PasswordPromptDialog.h"
#include "ui/PreferencesDialog.h"

namespace kelvane {

void CreateForms(DriveList& drives, std::unique_ptr<Registry> registry) {
    MainWin = new TMainWin(drives, std::move(registry));
    Encrypt = new TEncrypt;
    Decrypt = new TDecrypt;
    About = new TAbout;
    Preferences = new TPreferences;
    DelDialog = new TDelDialog;
    PasswordPrompt = new TPasswordPrompt;
    ComboChange = new TComboChange(drives);
}

namespace {

template <typename T> void Destroy(T*& window) {
    delete window;
    window = nullptr;
}

} // namespace

void DestroyForms() {
    CloseHelpWindow();
    Destroy(ComboChange);
    Destroy(PasswordPrompt);
    Destroy(DelDialog);
    Destroy(Preferences);
    Destroy(About);
    Destroy(Decrypt);
    Destroy(Encrypt);
    Destroy(MainWin);
}

} // namespace kelvane
