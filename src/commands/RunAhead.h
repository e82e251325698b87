// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's runs of a walk's files, made on worker threads while the
// window's thread goes on with the next files. What a run means for the
// user (its messages, its batch, the lists) is told on the window's thread,
// in the order the files were handed over, never before the files before it.
#pragma once

#include "crypto/CryptResult.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvane {

class RunAhead {
public:
    // How a handed file's step ended once told.
    enum class Ending { NotWritten, WrittenAlone, Deferred };

    struct Job {
        // On a worker: the engine's run, touching nothing the window sees.
        std::function<CryptResult()> work;
        // On the window's thread: what the result means.
        std::function<Ending(CryptResult)> tell;
    };

    // `threads` workers (at least one), at most `depth` runs under way or
    // waiting to be told: each holds a few descriptors.
    RunAhead(unsigned threads, std::size_t depth);
    // Waits for the runs under way; those not told are told nothing.
    ~RunAhead();
    RunAhead(const RunAhead&) = delete;
    RunAhead& operator=(const RunAhead&) = delete;

    // Window's thread. Hands a run over; with `depth` runs not yet told,
    // first tells the oldest, waiting for it if need be.
    void Add(Job job);
    // Tells the runs that have ended, in order, up to the first one still
    // under way.
    void Tell();
    // Waits until every run handed over has ended, then tells them all:
    // before anything else the user is shown or asked.
    void Settle();

    // How many runs were handed over.
    uint64_t Handed() const { return handed_; }
    // Whether runs wait to be told.
    bool Pending() const { return told_ < handed_; }

    // Called on the window's thread after each run is told, with its number
    // (counted from 0 in the order handed over) and its end.
    std::function<void(uint64_t number, Ending ending)> onTold;

private:
    struct Slot {
        Job job;
        CryptResult result = crOk;
        bool started = false;
        bool ended = false;
    };

    void Work();
    // Tells the oldest run, waiting for it when `wait` is set. False when
    // there is none to tell, or it has not ended and `wait` is unset.
    bool TellOldest(bool wait);

    std::mutex lock_;
    // Each side is woken only when the other waits for it.
    std::condition_variable workWaits_, runEnded_;
    std::deque<std::shared_ptr<Slot>> slots_; // not yet told, oldest first
    std::size_t unstarted_ = 0, idle_ = 0;
    bool windowWaits_ = false;
    bool stopping_ = false;
    std::size_t depth_;
    uint64_t handed_ = 0, told_ = 0; // window's thread only
    std::vector<std::thread> workers_;
};

} // namespace kelvane
