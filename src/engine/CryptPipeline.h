// SPDX-License-Identifier: GPL-3.0-or-later
// The stages of one encryption or decryption run and the conductor that
// drives them. Large files run each stage group on a thread of its own (the
// checksum on one core, the cipher on the other, the file transfers beside
// them), small files run every stage in turn on the caller's thread; the
// stages are the same either way. Progress reports, the cancel test and the
// window's events happen on the caller's thread only.
#pragma once

#include "crypto/Des.h"
#include "engine/CryptFile.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace kelvane::detail {

// How far each stage has come, in bytes of the buffer. A stage publishes its
// own counter; the stages after it wait for it to move.
//
// A sleeping thread is woken only when a counter crosses a stride, when a
// stage finishes, or when a worker is about to sleep with progress nobody
// was told of. Waking the other threads at every piece cost more than the
// cipher: each wake-up is a context switch, and most find too little to do.
class RunProgress {
public:
    std::atomic<int64_t> read{0};
    std::atomic<int64_t> checked{0};
    std::atomic<int64_t> transformed{0};
    std::atomic<int64_t> written{0};
    // Worker threads whose stages have all finished.
    std::atomic<int> groupsFinished{0};
    // The workers pass it before every round of work; may be null.
    PauseGate* pause = nullptr;

    // The bytes a counter moves between two wake-ups; smaller than the ring
    // so the stages behind a full ring are woken well before it drains.
    void SetStride(int64_t bytes) { stride_ = std::max<int64_t>(bytes, 1); }
    void Publish(std::atomic<int64_t>& counter, int64_t value, bool last);
    // Wakes the sleepers if something was published since they were last
    // woken; a worker calls it before it sleeps, so no progress is ever
    // left unannounced while every thread waits.
    void AnnouncePending();
    void NoteGroupFinished();
    uint64_t Version() const;
    // Returns when something was announced after `seen`, on Stop(), or when
    // `timeout` (if positive) has passed.
    void WaitForChange(uint64_t seen, std::chrono::microseconds timeout);
    // The conductor's wait: returns when a worker group finished, on Stop(),
    // or when `timeout` has passed. Progress alone does not wake it.
    void WaitForEnd(int finishedSeen, std::chrono::microseconds timeout);
    void Stop();
    bool Stopped() const { return stopped_.load(std::memory_order_acquire); }

private:
    void Announce();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable ended_;
    uint64_t version_ = 0;
    int64_t stride_ = int64_t{1} << 20;
    std::atomic<bool> pending_{false};
    std::atomic<bool> stopped_{false};
};

class Stage {
public:
    virtual ~Stage() = default;
    // Does one piece of work if its input is ready; true when it did.
    virtual bool Step() = 0;
    virtual bool Finished() const = 0;
};

// The run's working memory: a ring the stages pass through, the whole file
// when it is small. Positions are offsets into the stream; a stage never
// handles a piece that wraps past the ring's end, and the capacity is a whole
// number of blocks so no block is ever split.
struct Ring {
    uint8_t* base = nullptr;
    int64_t capacity = 0;
    uint8_t* At(int64_t position) const { return base + position % capacity; }
    // Bytes from `position` to the ring's end.
    int64_t Contiguous(int64_t position) const { return capacity - position % capacity; }
};

// How far the slowest stage that still needs the bytes has come: the
// reader may refill everything before it.
using ConsumedFn = std::function<int64_t()>;

// Reads `length` bytes of the source, then supplies zeros up to `fillTo`
// (the pad of the last block), never past what the later stages consumed.
class ReadStage : public Stage {
public:
    ReadStage(SourceFile& source, const Ring& ring, int64_t length, int64_t fillTo,
              ConsumedFn consumed, RunProgress& progress, std::atomic<bool>& failed);
    bool Step() override;
    bool Finished() const override { return done_ == fillTo_ || failed_.load(); }

private:
    bool Fits(int64_t end) const { return end <= consumed_() + ring_.capacity; }

    SourceFile& source_;
    const Ring& ring_;
    int64_t length_;
    int64_t fillTo_;
    ConsumedFn consumed_;
    int64_t done_ = 0;
    RunProgress& progress_;
    std::atomic<bool>& failed_;
};

// Runs the checksum over the first `length` bytes as `input` makes them
// ready, then lets the bytes up to `passTo` through unchecked.
class ChecksumStage : public Stage {
public:
    ChecksumStage(const Ring& ring, int64_t length, int64_t passTo,
                  const std::atomic<int64_t>& input, RunProgress& progress);
    bool Step() override;
    bool Finished() const override { return done_ == passTo_; }
    uint32_t Value() const { return crc_; }

private:
    const Ring& ring_;
    int64_t length_;
    int64_t passTo_;
    const std::atomic<int64_t>& input_;
    int64_t done_ = 0;
    uint32_t crc_ = 0;
    RunProgress& progress_;
};

// Enciphers or deciphers every whole block of `length` bytes in place once
// `input` has passed it; a ragged tail passes through once `input` reaches
// `length`.
class CipherStage : public Stage {
public:
    CipherStage(const DesKeySchedule& schedule, bool encipher, const Ring& ring, int64_t length,
                const std::atomic<int64_t>& input, RunProgress& progress);
    bool Step() override;
    bool Finished() const override { return finished_; }

private:
    const DesKeySchedule& schedule_;
    bool encipher_;
    const Ring& ring_;
    int64_t length_;
    int64_t blocks_;
    const std::atomic<int64_t>& input_;
    int64_t done_ = 0;
    bool finished_ = false;
    RunProgress& progress_;
};

// Writes `length` bytes to the destination, at `offset`, as `input` makes
// them ready. Without a destination, or after a failed write, it goes on
// passing the bytes without writing them, so the run still ends as one that
// writes last would, and keeps the failure for the end.
class WriteStage : public Stage {
public:
    WriteStage(DestinationFile* destination, uint64_t offset, const Ring& ring, int64_t length,
               const std::atomic<int64_t>& input, RunProgress& progress);
    bool Step() override;
    bool Finished() const override { return done_ == length_; }
    bool Failed() const { return failed_; }

private:
    DestinationFile* destination_;
    uint64_t offset_;
    const Ring& ring_;
    int64_t length_;
    const std::atomic<int64_t>& input_;
    int64_t done_ = 0;
    bool failed_ = false;
    RunProgress& progress_;
};

// Lets the window's events run on a time budget and at every report, and
// keeps the longest gap between two chances for the tests and benchmarks.
class EventPacer {
public:
    explicit EventPacer(const CryptHooks& hooks);
    ~EventPacer();
    EventPacer(const EventPacer&) = delete;
    EventPacer& operator=(const EventPacer&) = delete;

    void Tick();
    void RunNow();
    // Whether there are events to run at all.
    bool HasEvents() const { return static_cast<bool>(hooks_.letEventsRun); }
    // Time until the budget calls for the next chance.
    std::chrono::microseconds TimeLeft() const;

private:
    void NoteGap(std::chrono::steady_clock::time_point now);

    const CryptHooks& hooks_;
    bool timed_;
    std::chrono::steady_clock::time_point last_;
    std::chrono::microseconds longest_{0};
};

// The report plan: after block j, for every j that the step divides.
struct ReportPlan {
    int64_t blocks = 0;
    ProgressBar* fillBar = nullptr;
    ProgressBar* drainBar = nullptr;
    bool indexOnFillBar = true; // encryption counts blocks on the fill bar
};

// NoThreads: a parallel run could not start all its threads.
enum class RunEnd { Completed, Cancelled, Failed, NoThreads };

// Stage groups: each group runs on one thread when the run is parallel.
struct StageGroups {
    std::vector<std::vector<Stage*>> groups;
    bool parallel = false;
    // Tests: false for a group makes its thread's start fail.
    std::function<bool(std::size_t)> threadMayStart;
};

// Drives the stages to the end, reporting progress as blocks are
// transformed. A failing stage (one whose Finished() is true while `failed`
// reports it) ends the run with Failed.
RunEnd RunStages(StageGroups& stages, RunProgress& progress, const ReportPlan& plan,
                 EventPacer& pacer, const std::atomic<bool>& failed);

// Runs `work` while the window's events keep running: on a thread of its own
// when `parallel`, else inline.
bool RunWhilePumping(const std::function<bool()>& work, bool parallel, EventPacer& pacer);

} // namespace kelvane::detail
