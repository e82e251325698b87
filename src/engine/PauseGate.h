// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a run's worker threads between two pieces of work while the user is
// asked whether to stop it: nothing is read, written or reported meanwhile,
// and the run goes on from the same byte when the gate opens again.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

namespace kelvane {

class PauseGate {
public:
    // Closes the gate and returns once no worker is inside a piece of work.
    // Pauses nest: the gate opens at the last Resume().
    void Pause();
    void Resume();
    bool Paused() const;

    // A worker's way through: waits while the gate is closed, unless
    // `stopped` says the run has ended; false then.
    bool Enter(const std::function<bool()>& stopped);
    void Leave();

    // Closed for as long as it lives; a null gate is left alone.
    class Hold {
    public:
        explicit Hold(PauseGate* gate) : gate_(gate) {
            if (gate_ != nullptr)
                gate_->Pause();
        }
        ~Hold() {
            if (gate_ != nullptr)
                gate_->Resume();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        PauseGate* gate_;
    };

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int pauses_ = 0;
    int inside_ = 0;
};

// The gate the window closes while it asks whether to cancel a run; every
// run checks it unless its hooks name another.
PauseGate& RunPause();

} // namespace kelvane
