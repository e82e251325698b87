// SPDX-License-Identifier: GPL-3.0-or-later
// A main window and password dialogs without widgets, for the commands'
// tests: records what the commands ask of the window, in order, and answers
// each password dialog from a script.
#pragma once

#include "commands/FileCommands.h"
#include "commands/FileListBox.h"
#include "commands/FileLists.h"
#include "commands/Settings.h"
#include "crypto/CryptNames.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelvane::testing_support {

class FakePasswordDialog : public PasswordDialog {
public:
    // Queues one showing: the answer and the password typed.
    void Answer(int result, std::string password = {}) {
        answers_.push_back({result, std::move(password)});
    }

    bool OneForListChecked() const override { return checked; }
    void SetFileLabel(const std::string& text) override { label = text; }
    int ShowModal() override {
        ++showings;
        if (onShow)
            onShow();
        if (answers_.empty()) {
            ADD_FAILURE() << "password dialog shown unexpectedly for " << label;
            return mrCancel;
        }
        const auto next = answers_.front();
        answers_.pop_front();
        field = next.password;
        return next.result;
    }
    void TakePassword(SecretString& password) override {
        if (typeSecretly)
            return typeSecretly(password);
        password = field;
        field.clear();
    }
    void ClearFields() override { field.clear(); }

    bool AllAnswered() const { return answers_.empty(); }

    bool checked = false;
    std::string label;
    std::string field;
    int showings = 0;
    std::function<void()> onShow;
    // Types the password straight into the window's secret, so the test
    // itself keeps no copy of it; `field` is not used then.
    std::function<void(SecretString&)> typeSecretly;

private:
    struct Showing {
        int result;
        std::string password;
    };
    std::deque<Showing> answers_;
};

class FakeHost : public CommandHost {
public:
    FakeHost() { ReadLists(); }
    ~FakeHost() override {
        EXPECT_TRUE(encrypt.AllAnswered()) << "encryption dialog answer left over";
        EXPECT_TRUE(decrypt.AllAnswered()) << "decryption dialog answer left over";
    }

    std::string DirLabelText() const override { return dirLabel; }
    void SetPwdTimerEnabled(bool enabled) override { pwdTimerEnabled = enabled; }
    void SetStatus(const std::string& text) override {
        status = text;
        log.push_back("status " + text);
    }
    void ShowProgressPanel() override { log.push_back("panel shown"); }
    void HideProgressPanel() override {
        log.push_back("panel hidden");
        if (onPanelHidden)
            onPanelHidden();
    }
    void ProgressStart() override { log.push_back("start"); }
    void ProgressStop() override { log.push_back("stop"); }
    void ProgressClear() override { log.push_back("clear"); }
    ProgressBar& ProgressBar1() override { return bar1; }
    ProgressBar& ProgressBar2() override { return bar2; }
    bool InPlainList(const std::string& name) const override {
        return FindShown(listed.Plain, name) != nullptr;
    }
    bool InCryptedList(const std::string& name) const override {
        return FindShown(listed.Crypted, name) != nullptr;
    }
    bool ListsFile(const std::string& fileName) const override {
        return FindFileNamed(listed.Plain, fileName) != nullptr ||
               FindFileNamed(listed.Crypted, fileName) != nullptr;
    }
    std::string CryptedFileName(const std::string& listedName) const override {
        if (const ListedFile* file = FindShown(listed.Crypted, listedName))
            return file->FileName;
        return CommandHost::CryptedFileName(listedName);
    }
    void RefreshLists() override {
        ++refreshes;
        ReadLists();
    }
    PasswordDialog& EncryptDialog() override { return encrypt; }
    PasswordDialog& DecryptDialog() override { return decrypt; }

    // The lists as the window fills them from the working directory.
    void ReadLists() {
        TFileListBox all;
        all.Update();
        listed = SplitByExtension(all.Items, ShowCry > 0);
    }
    SplitLists listed;

    std::string dirLabel = "/home/user";
    bool pwdTimerEnabled = false;
    std::string status;
    std::vector<std::string> log;
    ProgressCounter bar1, bar2;
    int refreshes = 0;
    FakePasswordDialog encrypt, decrypt;
    // Runs when the engine has returned, before the command goes on.
    std::function<void()> onPanelHidden;
};

} // namespace kelvane::testing_support
