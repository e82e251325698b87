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
    workWaits_.notify_all();
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
    bool wake = false;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        slots_.push_back(std::move(slot));
        ++unstarted_;
        wake = idle_ > 0;
    }
    if (wake)
        workWaits_.notify_one();
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
        if (!slots_.front()->ended) {
            if (!wait)
                return false;
            if (unstarted_ > 0 && idle_ > 0)
                workWaits_.notify_all();
            windowWaits_ = true;
            runEnded_.wait(hold, [this] { return slots_.front()->ended; });
            windowWaits_ = false;
        }
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
        ++idle_;
        workWaits_.wait(hold, [this, &next] {
            if (unstarted_ > 0)
                next = *std::find_if(slots_.begin(), slots_.end(),
                                     [](const auto& slot) { return !slot->started; });
            return next != nullptr || stopping_;
        });
        --idle_;
        if (next == nullptr)
            return;
        next->started = true;
        --unstarted_;
        hold.unlock();
        const CryptResult result = next->job.work();
        hold.lock();
        next->result = result;
        next->ended = true;
        // The run's context is let go of on the window's thread alone.
        next.reset();
        if (windowWaits_)
            runEnded_.notify_one();
    }
}

} // namespace kelvane
