// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TerminalPrompt.h"

#include "cli/Signals.h"
#include "crypto/Translate.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace kelvane::cli {
namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM};
constexpr int kSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// What the signal handler and the signal thread need; the modes are
// written only while neither can use them.
std::atomic<int> gTerminal{-1};
struct termios gSavedModes {};

void RestoreEcho() {
    ::tcsetattr(gTerminal.load(), TCSAFLUSH, &gSavedModes);
    [[maybe_unused]] const ssize_t n = ::write(gTerminal.load(), "\n", 1);
}

// For a signal that no thread takes (Signals.h): SIGQUIT, or any of them
// where the thread could not start.
extern "C" void RestoreEchoAndEnd(int signal) {
    RestoreEcho();
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    ::sigaction(signal, &defaults, nullptr);
    // Delivered with the default action once this handler returns.
    static_cast<void>(::raise(signal));
}

class EchoOff {
public:
    explicit EchoOff(int terminal) {
        gTerminal = terminal;
        ok_ = ::tcgetattr(terminal, &gSavedModes) == 0;
        if (!ok_)
            return;
        struct sigaction action {};
        action.sa_handler = RestoreEchoAndEnd;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < kSignalCount; ++i)
            ::sigaction(kEndingSignals[i], &action, &previous_[i]);
        RestoreBeforeEnding(RestoreEcho);
        installed_ = true;
        struct termios quiet = gSavedModes;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ICANON;
        ok_ = ::tcsetattr(terminal, TCSAFLUSH, &quiet) == 0;
    }

    ~EchoOff() {
        if (!installed_)
            return;
        RestoreBeforeEnding(nullptr);
        ::tcsetattr(gTerminal.load(), TCSAFLUSH, &gSavedModes);
        for (int i = 0; i < kSignalCount; ++i)
            ::sigaction(kEndingSignals[i], &previous_[i], nullptr);
    }

    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
    bool installed_ = false;
    struct sigaction previous_[kSignalCount] {};
};

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

// Reads up to the line end; false at the end of input before any line end.
bool ReadLine(int fd, std::string& line) {
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0)
            return false;
        if (c == '\n')
            return true;
        if (line.size() < kLongestPasswordLine)
            line.push_back(c);
    }
}

} // namespace

bool TerminalPrompter::Ask(const std::string& prompt, SecretString& answer, std::string& problem) {
    const int terminal = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0) {
        // TRANSLATORS: PWFILE stands for the password file's name, as in the manual.
        problem = Tr("cli", "no terminal to ask for the password; give it with -p PWFILE");
        return false;
    }
    bool answered = false;
    bool echoTurnedOff = false;
    {
        EchoOff echoOff(terminal);
        echoTurnedOff = echoOff.Ok();
        if (echoTurnedOff) {
            WriteAll(terminal, prompt);
            answer.Text().clear();
            answered = ReadLine(terminal, answer.Text());
            WriteAll(terminal, "\n");
        }
    }
    gTerminal = -1;
    ::close(terminal);
    if (!echoTurnedOff)
        problem = Tr("cli", "can't turn off the terminal's echo; give the password with -p PWFILE");
    else if (!answered)
        problem = Tr("cli", "no password entered");
    return answered;
}

} // namespace kelvane::cli
