// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as Encrypt All and Decrypt All see it.
#pragma once

#include "commands/TreeCommands.h"

namespace kelvane {

class TMainWin;

class TMainWinTree : public TreeHost {
public:
    explicit TMainWinTree(TMainWin& window) : window_(window) {}

    void SetWalking(bool walking) override;
    void SetStatus(const std::string& text) override;
    int ShowPasswordPrompt() override;
    void RunPreferences() override;
    void ShowCancelButton(bool visible) override;
    std::string OpenDirectory() const override;
    bool ShowDirectory(const std::string& directory) override;
    bool StillShows(const std::string& directory) const override;
    TFileListBox& FileListBox3() override;
    void LetEventsRun() override;
    bool EventsDue() const override;
    bool EncryptOneFile(const std::string& name) override;
    bool DecryptOneFile(const std::string& name) override;
    void RefreshLists() override;

private:
    TMainWin& window_;
};

} // namespace kelvane
