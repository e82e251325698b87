// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl-C, a hang-up and a termination request: while files are being
// transformed the first one cancels every run cleanly; at any other moment
// (a blocking open or read, between files) and on the second one, the
// program ends at once as the signal would end it.
#pragma once

namespace kelvane::cli {

void CancelOnSignals();

// The signal that cancelled the run; SIGINT when the cancel flag was set
// some other way.
int CancelSignal();

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
