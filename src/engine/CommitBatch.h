// SPDX-License-Identifier: GPL-3.0-or-later
// Group commit for runs over many files: the destinations of a batch are
// written, then the file system is flushed once for all of them, then each
// takes its name, then one more flush makes the names durable, and only then
// is each file's outcome known, so only then may its source go. A kill or a
// power cut loses at most the unconfirmed work of one batch, never a file:
// the sources of a batch that was not confirmed are all still there.
#pragma once

#include "platform/FileAccess.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace kelvane {

// When a batch closes: whichever limit is reached first. Each commit costs
// two flushes of the file system, some milliseconds on a journaled disk, so
// a batch takes many files; each waiting file holds two or three
// descriptors, which the files limit bounds.
struct BatchLimits {
    std::size_t files = 1024;
    int64_t bytes = int64_t{64} << 20;
    std::chrono::milliseconds wait{1000};
};

// `wanted` with no more files than fit the process's `openFiles` when each
// file under way or waiting holds `descriptorsPerFile`. While one batch is
// committed, each of the `fillers` may wait with a full batch of its own
// and has one file under way; the walk's idle folders and everything else
// have the rest. Where even one file a batch is too many (a limit of a few
// dozen), a file that finds no descriptor commits what waits and tries again.
BatchLimits SizedForOpenFiles(BatchLimits wanted, std::size_t openFiles, unsigned fillers,
                              unsigned descriptorsPerFile);

class CommitBatch {
public:
    // How one file's commit ended, and the errno behind a failure.
    using Settle = std::function<void(CommitOutcome outcome, int error)>;

    // Inline: a full batch is committed by the thread that filled it, and
    // the outcomes are given on that thread. Background: a thread of the
    // batch's own commits it while the next one fills, so the work goes on
    // while the disk flushes; one batch is committed at a time, and each
    // filler that fills another meanwhile waits with it, so up to one batch
    // per filler waits besides the one committed and the one filling: the
    // caller sizes batches for that. BackgroundSettledByFiller: committed so, but the outcomes wait
    // for the filling thread's next call (the window's, whose widgets only
    // its own thread may touch).
    enum class Where { Inline, Background, BackgroundSettledByFiller };

    explicit CommitBatch(BatchLimits limits = {}, Where where = Where::Inline)
        : limits_(limits), where_(where) {}
    // Commits what still waits.
    ~CommitBatch();
    CommitBatch(const CommitBatch&) = delete;
    CommitBatch& operator=(const CommitBatch&) = delete;

    // Takes a written, uncommitted destination; `settle` is called once the
    // batch it is in has been committed, on the thread that committed it or,
    // settled by the filler, within a later call of the filling thread.
    // Commits the batch when this file fills it. Safe from several threads.
    void Add(std::unique_ptr<DestinationFile> destination, Existing existing, int64_t bytes,
             Settle settle);
    // The same, with `committed` called before `settle`, at once on the
    // thread that committed the batch: for what need not wait for the
    // filling thread, such as removing a source once its new file is durable.
    void Add(std::unique_ptr<DestinationFile> destination, Existing existing, int64_t bytes,
             Settle committed, Settle settle);
    // Commits the batch when its first file has waited past the limit.
    void CommitIfDue();
    // Commits the batch now, and returns once every file added before is
    // settled.
    void Commit();
    // How many files wait for the next commit.
    std::size_t Waiting();
    // How many files were added, and how many of them are settled: files
    // are settled in the order they were added.
    uint64_t Added();
    uint64_t Settled();

    struct Entry {
        std::unique_ptr<DestinationFile> destination;
        Existing existing;
        Settle settle;
        Settle committed;
        CommitOutcome outcome = CommitOutcome::Failed;
        int error = 0;
    };

    // Linux tells a failed write-back once to each descriptor opened before
    // it, and the next flush may pass although that data never reached the
    // disk: the data of files made before a failed flush may be lost in it,
    // whichever batch they wait in. So every failure is kept, by file
    // system, and fails each file made before it whose commit comes later.
    class FlushFailures {
    public:
        void Flush(dev_t device, int descriptor);
        // The errno that fails a file of `device` made at `made`, or 0.
        int Against(dev_t device, uint64_t made);

    private:
        struct Failure {
            uint64_t madeUpTo = 0;
            int error = 0;
        };
        std::mutex lock_;
        std::map<dev_t, Failure> byDevice_;
    };

private:
    using Clock = std::chrono::steady_clock;

    std::vector<Entry> TakeLocked();
    void Hand(std::vector<Entry> entries);
    void CommitInTurn();
    void WaitUntilIdle();
    void TellOutcomes(std::vector<Entry>& entries);
    // The outcomes that wait for the filling thread.
    void GiveSettled();

    BatchLimits limits_;
    Where where_;
    std::mutex lock_;
    std::vector<Entry> entries_;
    int64_t bytes_ = 0;
    uint64_t added_ = 0;
    std::atomic<uint64_t> settled_{0};
    FlushFailures failures_;
    Clock::time_point firstAdded_;

    // The background commits.
    std::mutex turnLock_;
    std::condition_variable turnChanged_;
    std::vector<Entry> handed_;
    bool hasHanded_ = false, committing_ = false, stopping_ = false;
    std::vector<Entry> committed_; // settled by the filler, still to be told
    std::thread committer_;
};

} // namespace kelvane
