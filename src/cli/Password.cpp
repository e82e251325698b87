// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Password.h"

#include "crypto/PasswordRules.h"

#include <cerrno>
#include <unistd.h>

namespace kelvane::cli {

LineRead ReadFirstLine(int fd, SecretString& line) {
    std::string& text = line.Text();
    line.Wipe();
    bool any = false;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            line.Wipe();
            return LineRead::Failed;
        }
        if (n == 0)
            break;
        any = true;
        if (c == '\n')
            break;
        // One byte of room for a "\r" before the line end.
        if (text.size() > kLongestPasswordLine) {
            line.Wipe();
            return LineRead::TooLong;
        }
        text.push_back(c);
        c = 0;
    }
    if (!text.empty() && text.back() == '\r') {
        text.back() = '\0';
        text.pop_back();
    }
    if (text.size() > kLongestPasswordLine) {
        line.Wipe();
        return LineRead::TooLong;
    }
    return any ? LineRead::Ok : LineRead::Nothing;
}

void ToKeyPassword(const SecretString& entered, SecretString& password, std::string& problem) {
    problem = PasswordProblemText(ToKeyBytes(entered.Text(), password.Text()));
}

} // namespace kelvane::cli
