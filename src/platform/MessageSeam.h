// SPDX-License-Identifier: GPL-3.0-or-later
// Every message box and every modal question of the program goes through
// ShowMessage. The program installs a responder that shows a real box; tests
// install a scripted one that checks the text and answers.
#pragma once

#include <functional>
#include <string>

namespace kelvane {

enum class MessageKind { Error, Information, Confirmation, Warning };

// Buttons a box offers, combined with |.
enum MessageButton : unsigned {
    mbOK = 1u << 0,
    mbCancel = 1u << 1,
    mbAbort = 1u << 2,
    mbYes = 1u << 3,
    mbNo = 1u << 4,
    mbAll = 1u << 5,
};

// The numeric answers of a box or a modal dialog. Closing a box by its close
// button answers Cancel.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrAll = 8;

struct MessageRequest {
    MessageKind kind = MessageKind::Information;
    std::string caption; // empty: the kind's usual caption
    std::string text;
    unsigned buttons = mbOK;
};

using MessageResponder = std::function<int(const MessageRequest&)>;

// Shows the box through the installed responder and returns its answer. With
// no responder installed it answers mrCancel, the safe "no".
int ShowMessage(const MessageRequest& request);

// Convenience forms for the three kinds the program uses.
int ShowError(const std::string& text, unsigned buttons = mbOK);
int ShowInformation(const std::string& text, unsigned buttons = mbOK);
int ShowConfirmation(const std::string& text, unsigned buttons);

// Installs a responder and returns the one it replaces.
MessageResponder SetMessageResponder(MessageResponder responder);

} // namespace kelvane
