// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl-C, a hang-up and a termination request: while files are being
// transformed the first one cancels every run cleanly; at any other moment
// (a blocking open or read, between files) and on the second one, the
// program ends at once as the signal would end it.
#pragma once

namespace kelvane::cli {

// Starts the thread that takes these signals; call before any other thread
// starts, so that every thread leaves them to it. The answer never waits
// for whatever the other threads are doing: a thread stuck in the kernel
// (opening a FIFO nobody opens) runs no handler, and a sanitizer may hold
// a handler back until the call it interrupted returns.
void CancelOnSignals();

// The signal that cancelled the run; SIGINT when the cancel flag was set
// some other way.
int CancelSignal();

// What must be put back before the program ends on one of these signals
// (the terminal's echo while a password is typed); null for nothing. Set
// by whoever changed it, for as long as it stays changed.
void RestoreBeforeEnding(void (*restore)());

// Held while an engine run may be cancelled; the first signal then only
// asks the runs to stop.
class CancellableWork {
public:
    CancellableWork();
    ~CancellableWork();
    CancellableWork(const CancellableWork&) = delete;
    CancellableWork& operator=(const CancellableWork&) = delete;
};

} // namespace kelvane::cli
