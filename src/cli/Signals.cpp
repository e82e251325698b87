// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Signals.h"

#include "engine/CryptFile.h"

#include <atomic>
#include <csignal>

namespace kelvane::cli {
namespace {

std::atomic<int> gCancellableRuns{0};
std::atomic<int> gCancelSignal{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler touches these");

extern "C" void CancelOrEnd(int signal) {
    int none = 0;
    gCancelSignal.compare_exchange_strong(none, signal);
    const bool alreadyCancelled = CancelRequested.exchange(true);
    if (!alreadyCancelled && gCancellableRuns.load() > 0)
        return;
    // Nothing would notice the flag soon enough (or the user asked twice):
    // end now. A source goes only after its new file is on disk, so ending
    // at any point loses nothing.
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigemptyset(&defaults.sa_mask);
    ::sigaction(signal, &defaults, nullptr);
    ::raise(signal);
}

} // namespace

void CancelOnSignals() {
    struct sigaction action {};
    action.sa_handler = CancelOrEnd;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGHUP, SIGTERM})
        ::sigaction(signal, &action, nullptr);
}

int CancelSignal() {
    const int signal = gCancelSignal.load();
    return signal != 0 ? signal : SIGINT;
}

CancellableWork::CancellableWork() {
    gCancellableRuns.fetch_add(1);
}

CancellableWork::~CancellableWork() {
    gCancellableRuns.fetch_sub(1);
}

} // namespace kelvane::cli
