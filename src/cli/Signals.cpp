// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Signals.h"

#include "engine/CryptFile.h"

#include <atomic>
#include <csignal>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace kelvane::cli {
namespace {

std::atomic<int> gCancellableRuns{0};
std::atomic<int> gCancelSignal{0};
std::atomic<void (*)()> gRestore{nullptr};

sigset_t CancellingSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGHUP, SIGTERM})
        sigaddset(&signals, signal);
    return signals;
}

// Ends the program as `signal` would have ended it, so a script's shell
// sees the signal, not an exit status. A source goes only after its new
// file is on disk, so ending at any point loses nothing.
[[noreturn]] void EndAs(int signal) {
    if (void (*restore)() = gRestore.load(); restore != nullptr)
        restore();
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigemptyset(&defaults.sa_mask);
    ::sigaction(signal, &defaults, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    static_cast<void>(::raise(signal));
    ::_exit(128 + signal); // not reached: the default action ends the process
}

void TakeSignals(sigset_t signals) {
    for (;;) {
        int signal = 0;
        if (::sigwait(&signals, &signal) != 0)
            continue;
        int none = 0;
        gCancelSignal.compare_exchange_strong(none, signal);
        const bool alreadyCancelled = CancelRequested.exchange(true);
        // Nothing would notice the flag soon enough (or the user asked
        // twice): end now.
        if (alreadyCancelled || gCancellableRuns.load() == 0)
            EndAs(signal);
    }
}

} // namespace

void CancelOnSignals() {
    const sigset_t signals = CancellingSignals();
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        std::thread(TakeSignals, signals).detach();
    } catch (const std::system_error&) {
        // Without the thread each signal ends the program at once, as it
        // would by default: nothing is lost, only the clean cancel.
        ::pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    }
}

int CancelSignal() {
    const int signal = gCancelSignal.load();
    return signal != 0 ? signal : SIGINT;
}

void RestoreBeforeEnding(void (*restore)()) {
    gRestore.store(restore);
}

CancellableWork::CancellableWork() {
    gCancellableRuns.fetch_add(1);
}

CancellableWork::~CancellableWork() {
    gCancellableRuns.fetch_sub(1);
}

} // namespace kelvane::cli
