// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageSeam.h"

#include "crypto/Translate.h"

#include <utility>

namespace kelvane {
namespace {

MessageResponder& Responder() {
    static MessageResponder responder;
    return responder;
}

} // namespace

int ShowMessage(const MessageRequest& request) {
    const MessageResponder& responder = Responder();
    return responder ? responder(request) : mrCancel;
}

int ShowError(const std::string& text, unsigned buttons) {
    return ShowMessage({MessageKind::Error, Tr("MessageSeam", "Error"), text, buttons});
}

int ShowInformation(const std::string& text, unsigned buttons) {
    return ShowMessage({MessageKind::Information, Tr("MessageSeam", "Information"), text, buttons});
}

int ShowConfirmation(const std::string& text, unsigned buttons) {
    return ShowMessage({MessageKind::Confirmation, Tr("MessageSeam", "Confirm"), text, buttons});
}

MessageResponder SetMessageResponder(MessageResponder responder) {
    return std::exchange(Responder(), std::move(responder));
}

} // namespace kelvane
