// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CryptPipeline.h"

#include "crypto/Crc32.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

namespace kelvane::detail {
namespace {

// Pieces small enough that every stage publishes often, large enough that
// the publishing costs nothing that shows.
constexpr int64_t kTransferPiece = int64_t{kTransferChunk} * 25; // 256,000 bytes
constexpr int64_t kChecksumPiece = 256 * 1024;
constexpr int64_t kCipherPieceBlocks = 8192;
// Waits never outlast this, so a lost wake-up costs a moment, never a hang.
constexpr std::chrono::microseconds kLongestWait{20000};

} // namespace

// ---- RunProgress ----

void RunProgress::Publish(std::atomic<int64_t>& counter, int64_t value, bool last) {
    const int64_t before = counter.exchange(value, std::memory_order_acq_rel);
    if (last || before / stride_ != value / stride_)
        Announce();
    else
        pending_.store(true, std::memory_order_release);
}

void RunProgress::AnnouncePending() {
    if (pending_.load(std::memory_order_acquire))
        Announce();
}

void RunProgress::Announce() {
    pending_.store(false, std::memory_order_release);
    {
        std::lock_guard lock(mutex_);
        ++version_;
    }
    changed_.notify_all();
}

void RunProgress::NoteGroupFinished() {
    groupsFinished.fetch_add(1, std::memory_order_acq_rel);
    {
        std::lock_guard lock(mutex_);
        ++version_;
    }
    changed_.notify_all();
    ended_.notify_all();
}

uint64_t RunProgress::Version() const {
    std::lock_guard lock(mutex_);
    return version_;
}

void RunProgress::WaitForChange(uint64_t seen, std::chrono::microseconds timeout) {
    std::unique_lock lock(mutex_);
    const auto wait = timeout.count() > 0 ? std::min(timeout, kLongestWait) : kLongestWait;
    changed_.wait_for(lock, wait, [&] { return version_ != seen || Stopped(); });
}

void RunProgress::WaitForEnd(int finishedSeen, std::chrono::microseconds timeout) {
    std::unique_lock lock(mutex_);
    ended_.wait_for(lock, std::min(timeout, kLongestWait), [&] {
        return groupsFinished.load(std::memory_order_acquire) != finishedSeen || Stopped();
    });
}

void RunProgress::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_.store(true, std::memory_order_release);
        ++version_;
    }
    changed_.notify_all();
    ended_.notify_all();
}

// ---- Stages ----

ReadStage::ReadStage(SourceFile& source, const Ring& ring, int64_t length, int64_t fillTo,
                     ConsumedFn consumed, RunProgress& progress, std::atomic<bool>& failed)
    : source_(source), ring_(ring), length_(length), fillTo_(fillTo),
      consumed_(std::move(consumed)), progress_(progress), failed_(failed) {}

bool ReadStage::Step() {
    if (Finished())
        return false;
    if (done_ < length_) {
        const int64_t want = std::min({length_ - done_, kTransferPiece, ring_.Contiguous(done_)});
        if (!Fits(done_ + want))
            return false;
        if (source_.Read(ring_.At(done_), static_cast<std::size_t>(want)) != want) {
            failed_.store(true);
            progress_.Stop();
            return true;
        }
        done_ += want;
    } else {
        // The pad goes in whole, so no block is ever ready with half of it.
        if (!Fits(fillTo_))
            return false;
        for (int64_t at = done_; at < fillTo_;) {
            const int64_t piece = std::min(fillTo_ - at, ring_.Contiguous(at));
            std::memset(ring_.At(at), 0, static_cast<std::size_t>(piece));
            at += piece;
        }
        done_ = fillTo_;
    }
    progress_.Publish(progress_.read, done_, Finished());
    return true;
}

ChecksumStage::ChecksumStage(const Ring& ring, int64_t length, int64_t passTo,
                             const std::atomic<int64_t>& input, RunProgress& progress)
    : ring_(ring), length_(length), passTo_(passTo), input_(input), progress_(progress) {}

bool ChecksumStage::Step() {
    const int64_t ready = std::min(input_.load(std::memory_order_acquire), passTo_);
    if (ready <= done_)
        return false;
    if (done_ < length_) {
        const int64_t piece =
            std::min({std::min(ready, length_) - done_, kChecksumPiece, ring_.Contiguous(done_)});
        crc_ = Crc32Continue(crc_, ring_.At(done_), static_cast<std::size_t>(piece));
        done_ += piece;
    } else {
        done_ = ready;
    }
    progress_.Publish(progress_.checked, done_, Finished());
    return true;
}

CipherStage::CipherStage(const DesKeySchedule& schedule, bool encipher, const Ring& ring,
                         int64_t length, const std::atomic<int64_t>& input, RunProgress& progress)
    : schedule_(schedule), encipher_(encipher), ring_(ring), length_(length), blocks_(length / 8),
      input_(input), progress_(progress) {
    // Made here, on the thread that sets the run up, rather than by the
    // cipher's worker in the middle of the run.
    DesPrepareBlocks(schedule, static_cast<std::size_t>(blocks_), encipher);
}

bool CipherStage::Step() {
    if (finished_)
        return false;
    const int64_t input = input_.load(std::memory_order_acquire);
    const int64_t ready = std::min(input / 8, blocks_);
    if (ready > done_) {
        const int64_t piece =
            std::min({ready - done_, kCipherPieceBlocks, ring_.Contiguous(8 * done_) / 8});
        DesCryptBlocks(schedule_, ring_.At(8 * done_), static_cast<std::size_t>(piece), encipher_);
        done_ += piece;
    } else if (done_ < blocks_ || input < length_) {
        return false;
    }
    // A ragged tail past the last whole block passes through as it was read.
    finished_ = done_ == blocks_ && input >= length_;
    progress_.Publish(progress_.transformed, finished_ ? length_ : 8 * done_, finished_);
    return true;
}

WriteStage::WriteStage(DestinationFile* destination, uint64_t offset, const Ring& ring,
                       int64_t length, const std::atomic<int64_t>& input, RunProgress& progress)
    : destination_(destination), offset_(offset), ring_(ring), length_(length), input_(input),
      progress_(progress) {}

bool WriteStage::Step() {
    if (Finished())
        return false;
    const int64_t ready = std::min(input_.load(std::memory_order_acquire), length_);
    if (ready <= done_)
        return false;
    const int64_t piece = std::min({ready - done_, kTransferPiece, ring_.Contiguous(done_)});
    if (destination_ != nullptr && !failed_ &&
        !destination_->WriteAt(offset_ + static_cast<uint64_t>(done_), ring_.At(done_),
                               static_cast<std::size_t>(piece)))
        failed_ = true;
    done_ += piece;
    progress_.Publish(progress_.written, done_, Finished());
    return true;
}

// ---- EventPacer ----

// Without events to run or a gap to keep, the clock is never read: a small
// file has a hundred reports, and a run over many of them spent more on
// the clock than on the cipher's set-up.
EventPacer::EventPacer(const CryptHooks& hooks)
    : hooks_(hooks), timed_(hooks.letEventsRun || hooks.longestEventGap != nullptr),
      last_(timed_ ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point{}) {}

EventPacer::~EventPacer() {
    if (!timed_)
        return;
    NoteGap(std::chrono::steady_clock::now());
    if (hooks_.longestEventGap != nullptr)
        *hooks_.longestEventGap = std::max(*hooks_.longestEventGap, longest_);
}

void EventPacer::Tick() {
    if (hooks_.letEventsRun && std::chrono::steady_clock::now() - last_ >= hooks_.eventBudget)
        RunNow();
}

void EventPacer::RunNow() {
    if (!timed_)
        return;
    if (hooks_.letEventsRun)
        hooks_.letEventsRun();
    const auto now = std::chrono::steady_clock::now();
    NoteGap(now);
    last_ = now;
}

std::chrono::microseconds EventPacer::TimeLeft() const {
    // With no events to run there is no budget to keep: the conductor
    // sleeps until the run ends or the longest wait has passed.
    if (!hooks_.letEventsRun)
        return kLongestWait;
    const auto spent = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - last_);
    return std::max(hooks_.eventBudget - spent, std::chrono::microseconds{1});
}

void EventPacer::NoteGap(std::chrono::steady_clock::time_point now) {
    longest_ =
        std::max(longest_, std::chrono::duration_cast<std::chrono::microseconds>(now - last_));
}

// ---- The conductor ----

namespace {

bool AllFinished(const std::vector<Stage*>& stages) {
    return std::all_of(stages.begin(), stages.end(), [](const Stage* s) { return s->Finished(); });
}

// One round of work: every stage of the group steps once, unless the
// gate is closed until the run has stopped.
bool StepAll(const std::vector<Stage*>& stages, RunProgress& progress) {
    PauseGate* gate = progress.pause;
    if (gate != nullptr && !gate->Enter([&progress] { return progress.Stopped(); }))
        return false;
    bool worked = false;
    for (Stage* stage : stages)
        worked = stage->Step() || worked;
    if (gate != nullptr)
        gate->Leave();
    return worked;
}

void WorkLoop(const std::vector<Stage*>& stages, RunProgress& progress) {
    while (!progress.Stopped()) {
        const uint64_t seen = progress.Version();
        const bool worked = StepAll(stages, progress);
        if (AllFinished(stages)) {
            progress.NoteGroupFinished();
            return;
        }
        if (!worked) {
            progress.AnnouncePending();
            progress.WaitForChange(seen, std::chrono::microseconds{0});
        }
    }
}

class Workers {
public:
    Workers(StageGroups& stages, RunProgress& progress) : progress_(progress) {
        if (!stages.parallel)
            return;
        try {
            for (std::size_t i = 0; i < stages.groups.size(); ++i) {
                if (stages.threadMayStart && !stages.threadMayStart(i))
                    throw std::system_error(
                        std::make_error_code(std::errc::resource_unavailable_try_again));
                threads_.emplace_back(WorkLoop, std::cref(stages.groups[i]), std::ref(progress));
            }
        } catch (const std::system_error&) {
            // The threads already started wait for stages that will never
            // run: stop them before waiting for them, and end the run.
            progress_.Stop();
            Join();
            startFailed_ = true;
        }
    }
    ~Workers() {
        progress_.Stop();
        Join();
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    bool StartFailed() const { return startFailed_; }

private:
    void Join() {
        for (auto& thread : threads_)
            if (thread.joinable())
                thread.join();
        threads_.clear();
    }
    RunProgress& progress_;
    std::vector<std::thread> threads_;
    bool startFailed_ = false;
};

// The report after block j: positions, tags, a chance for the window to
// run, then the cancel test. False when the user asked to cancel.
bool Report(const ReportPlan& plan, int64_t j, int64_t step, EventPacer& pacer) {
    plan.fillBar->SetPosition(static_cast<int>(j / step));
    plan.drainBar->SetPosition(100 - plan.fillBar->Position());
    const int index = static_cast<int>(j);
    const int total = static_cast<int>(plan.blocks);
    plan.fillBar->SetTag(plan.indexOnFillBar ? index : total);
    plan.drainBar->SetTag(plan.indexOnFillBar ? total : index);
    pacer.RunNow();
    return !CancelRequested.load();
}

} // namespace

RunEnd RunStages(StageGroups& stages, RunProgress& progress, const ReportPlan& plan,
                 EventPacer& pacer, const std::atomic<bool>& failed) {
    std::vector<Stage*> all;
    for (auto& group : stages.groups)
        all.insert(all.end(), group.begin(), group.end());
    const int64_t step = plan.blocks / 100;
    int64_t nextReport = 0;
    Workers workers(stages, progress);
    if (workers.StartFailed())
        return RunEnd::NoThreads;
    for (;;) {
        const uint64_t seen = progress.Version();
        bool worked = false;
        if (!stages.parallel)
            for (Stage* stage : all)
                worked = stage->Step() || worked;
        const int64_t doneBlocks = progress.transformed.load(std::memory_order_acquire) / 8;
        for (; step > 0 && nextReport < plan.blocks && nextReport < doneBlocks; nextReport += step)
            if (!Report(plan, nextReport, step, pacer))
                return RunEnd::Cancelled;
        if (failed.load())
            return RunEnd::Failed;
        // The stages belong to the workers while they run; the main thread
        // only counts the workers that are done.
        const int groupsFinished = progress.groupsFinished.load();
        const bool finished = stages.parallel
                                  ? groupsFinished == static_cast<int>(stages.groups.size())
                                  : AllFinished(all);
        if (finished && (step == 0 || nextReport >= plan.blocks))
            return RunEnd::Completed;
        pacer.Tick();
        // The reports wait for the next chance to run events; only the end
        // of the run is worth waking the conductor for.
        if (stages.parallel)
            progress.WaitForEnd(groupsFinished, pacer.TimeLeft());
        else if (!worked)
            progress.WaitForChange(seen, pacer.TimeLeft());
    }
}

bool RunWhilePumping(const std::function<bool()>& work, bool parallel, EventPacer& pacer) {
    // With no events to run a thread of its own would only wait for the
    // work: starting it cost a large file's run a few milliseconds.
    if (!parallel || !pacer.HasEvents())
        return work();
    RunProgress done;
    bool result = false;
    std::thread thread;
    try {
        thread = std::thread([&] {
            result = work();
            done.Stop();
        });
    } catch (const std::system_error&) {
        return work();
    }
    while (!done.Stopped()) {
        const uint64_t seen = done.Version();
        pacer.Tick();
        done.WaitForChange(seen, pacer.TimeLeft());
    }
    thread.join();
    return result;
}

} // namespace kelvane::detail
