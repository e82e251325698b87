// SPDX-License-Identifier: GPL-3.0-or-later
// A message responder for tests: each expected box is queued with its text
// and the answer to give. A box nobody expected, or one with other text,
// fails the test; boxes still queued at the end fail it too.
#pragma once

#include "platform/MessageSeam.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelvane::testing_support {

class ScriptedMessages {
public:
    ScriptedMessages() {
        previous_ = SetMessageResponder([this](const MessageRequest& r) { return Answer(r); });
    }
    ~ScriptedMessages() {
        SetMessageResponder(previous_);
        for (const Expected& e : expected_)
            ADD_FAILURE() << "expected message never shown: " << e.text;
    }
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    // Expects a box with exactly this text and answers it.
    ScriptedMessages& Expect(std::string text, int answer = mrOk) {
        expected_.push_back({std::move(text), [answer] { return answer; }});
        return *this;
    }
    // The same, with the answer given by `answer` while the box is open.
    ScriptedMessages& Expect(std::string text, std::function<int()> answer) {
        expected_.push_back({std::move(text), std::move(answer)});
        return *this;
    }

    const std::vector<MessageRequest>& Shown() const { return shown_; }
    bool AllAnswered() const { return expected_.empty(); }

private:
    struct Expected {
        std::string text;
        std::function<int()> answer;
    };

    int Answer(const MessageRequest& request) {
        shown_.push_back(request);
        if (expected_.empty()) {
            ADD_FAILURE() << "unexpected message box: " << request.text;
            return mrCancel;
        }
        Expected next = expected_.front();
        expected_.pop_front();
        EXPECT_EQ(request.text, next.text);
        return next.answer();
    }

    std::deque<Expected> expected_;
    std::vector<MessageRequest> shown_;
    MessageResponder previous_;
};

} // namespace kelvane::testing_support
