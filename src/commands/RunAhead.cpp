// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/RunAhead.h"

#include <algorithm>
#include <system_error>

namespace kelvane {

RunAhead::RunAhead(unsigned threads, std::size_t depth) : depth_(std::max<std::size_t>(depth, 1)) {
    try {
        for (unsigned i = 0; i < std::max(threads, 1u); ++i)
            workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
        // Fewer threads than asked: the ones there take every run.
    }
}

RunAhead::~RunAhead() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

void RunAhead::Add(Job job) {
    while (slots_.size() >= depth_ && TellOldest(true)) {
    }
    auto slot = std::make_shared<Slot>();
    slot->job = std::move(job);
    ++handed_;
    if (workers_.empty()) {
        // No thread to give: the run is made here, and told in its turn.
        slot->result = slot->job.work();
        slot->ended = slot->started = true;
        slots_.push_back(std::move(slot));
        return;
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        slots_.push_back(std::move(slot));
    }
    changed_.notify_all();
}

void RunAhead::Tell() {
    while (TellOldest(false)) {
    }
}

void RunAhead::Settle() {
    while (TellOldest(true)) {
    }
}

bool RunAhead::TellOldest(bool wait) {
    std::shared_ptr<Slot> oldest;
    {
        std::unique_lock<std::mutex> hold(lock_);
        if (slots_.empty())
            return false;
        if (wait)
            changed_.wait(hold, [this] { return slots_.front()->ended; });
        else if (!slots_.front()->ended)
            return false;
        oldest = std::move(slots_.front());
        slots_.pop_front();
    }
    const uint64_t number = told_++;
    const Ending end = oldest->job.tell(oldest->result);
    // The run's context goes here, on the window's thread.
    oldest.reset();
    if (onTold)
        onTold(number, end);
    return true;
}

void RunAhead::Work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        std::shared_ptr<Slot> next;
        changed_.wait(hold, [this, &next] {
            const auto waiting = std::find_if(slots_.begin(), slots_.end(),
                                              [](const auto& slot) { return !slot->started; });
            if (waiting != slots_.end())
                next = *waiting;
            return next != nullptr || stopping_;
        });
        if (next == nullptr)
            return;
        next->started = true;
        hold.unlock();
        const CryptResult result = next->job.work();
        hold.lock();
        next->result = result;
        next->ended = true;
        // The run's context is let go of on the window's thread alone.
        next.reset();
        changed_.notify_all();
    }
}

} // namespace kelvane
