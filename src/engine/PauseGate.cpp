// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PauseGate.h"

#include <chrono>

namespace kelvane {

void PauseGate::Pause() {
    std::unique_lock lock(mutex_);
    ++pauses_;
    changed_.wait(lock, [this] { return inside_ == 0; });
}

void PauseGate::Resume() {
    {
        std::lock_guard lock(mutex_);
        if (pauses_ > 0)
            --pauses_;
    }
    changed_.notify_all();
}

bool PauseGate::Paused() const {
    std::lock_guard lock(mutex_);
    return pauses_ > 0;
}

bool PauseGate::Enter(const std::function<bool()>& stopped) {
    std::unique_lock lock(mutex_);
    // The run's own stop does not know this gate: look again now and then.
    while (pauses_ > 0) {
        if (stopped())
            return false;
        changed_.wait_for(lock, std::chrono::milliseconds(20));
    }
    ++inside_;
    return true;
}

void PauseGate::Leave() {
    {
        std::lock_guard lock(mutex_);
        --inside_;
    }
    changed_.notify_all();
}

PauseGate& RunPause() {
    static PauseGate gate;
    return gate;
}

} // namespace kelvane
