// SPDX-License-Identifier: GPL-3.0-or-later
// A modal responder for tests: each expected dialog is queued with what to do
// in it (fill fields, press a button) and the answer comes from the dialog's
// own result. A dialog nobody expected fails the test and answers Cancel.
#pragma once

#include "ui/ModalForm.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelvane::testing_support {

class ScriptedDialogs {
public:
    using Action = std::function<void(TModalForm&)>;

    ScriptedDialogs() {
        previous_ = SetModalResponder([this](TModalForm& dialog) { return Answer(dialog); });
    }
    ~ScriptedDialogs() {
        SetModalResponder(previous_);
        for (const Expected& e : expected_)
            ADD_FAILURE() << "expected dialog never shown: " << e.title;
    }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Expects a dialog with this title; the action ends it, or it answers
    // Cancel when the action leaves it open.
    ScriptedDialogs& Expect(std::string title, Action action) {
        expected_.push_back({std::move(title), std::move(action)});
        return *this;
    }

    const std::vector<std::string>& Shown() const { return shown_; }

private:
    struct Expected {
        std::string title;
        Action action;
    };

    int Answer(TModalForm& dialog) {
        const std::string title = dialog.windowTitle().toStdString();
        shown_.push_back(title);
        if (expected_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << title;
            return mrCancel;
        }
        Expected next = std::move(expected_.front());
        expected_.pop_front();
        EXPECT_EQ(title, next.title);
        dialog.setResult(mrNone);
        if (next.action)
            next.action(dialog);
        return dialog.result();
    }

    std::deque<Expected> expected_;
    std::vector<std::string> shown_;
    ModalResponder previous_;
};

} // namespace kelvane::testing_support
