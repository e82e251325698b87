// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CommitBatch.h"

#include "platform/Invariant.h"
#include "platform/TreeWalk.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <map>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace kelvane {
namespace {

using Entries = std::vector<CommitBatch::Entry>;

// The entries of one file system: the descriptor its names are flushed
// through, the witness of its oldest destination, and their indices.
struct Group {
    int fileSystem = -1;
    DestinationFile::Witness oldest;
    std::vector<std::size_t> members;
};

// The entries that `include` picks, by the file system they are on.
template <typename Include>
std::map<dev_t, Group> ByFileSystem(const Entries& entries, Include include) {
    std::map<int, dev_t> deviceOf;
    std::map<dev_t, Group> groups;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int fd = entries[i].destination->FileSystem();
        if (fd < 0 || !include(entries[i]))
            continue;
        auto known = deviceOf.find(fd);
        if (known == deviceOf.end()) {
            struct stat st {};
            // A descriptor that can't be looked at gets a file system of its
            // own: flushing it once more costs little.
            const dev_t device = ::fstat(fd, &st) == 0 ? st.st_dev : static_cast<dev_t>(-fd);
            known = deviceOf.emplace(fd, device).first;
        }
        Group& group = groups[known->second];
        const DestinationFile::Witness witness = entries[i].destination->DataWitness();
        if (group.members.empty()) {
            group.fileSystem = fd;
            group.oldest = witness;
        } else if (witness.made < group.oldest.made) {
            group.oldest = witness;
        }
        group.members.push_back(i);
    }
    return groups;
}

void Flush(Entries& entries, const std::map<dev_t, Group>& groups,
           CommitBatch::FlushFailures& failures, bool throughWitness, CommitOutcome condemned) {
    for (const auto& [device, group] : groups)
        failures.Flush(device, throughWitness ? group.oldest.descriptor : group.fileSystem);
    for (const auto& [device, group] : groups) {
        for (const std::size_t i : group.members) {
            CommitBatch::Entry& entry = entries[i];
            const int error = failures.Against(device, entry.destination->DataWitness().made);
            if (error != 0 && entry.outcome == CommitOutcome::Done) {
                entry.outcome = condemned;
                entry.error = error;
            }
        }
    }
}

// The data of every file first, so that no name ever leads to a file whose
// bytes are not yet on disk; then the names; then the names' flush, before
// anyone is told a file is done. A flush that failed, in this batch or an
// earlier one, fails every file made before it.
void CommitEntries(Entries& entries, CommitBatch::FlushFailures& failures) {
    for (CommitBatch::Entry& entry : entries)
        entry.outcome = CommitOutcome::Done;
    Flush(entries, ByFileSystem(entries, [](const CommitBatch::Entry&) { return true; }), failures,
          true, CommitOutcome::Failed);
    for (CommitBatch::Entry& entry : entries) {
        if (entry.outcome != CommitOutcome::Done)
            continue;
        errno = 0;
        entry.outcome = entry.destination->PlaceFlushed(entry.existing);
        if (entry.outcome != CommitOutcome::Done)
            entry.error = errno != 0 ? errno : EIO;
    }
    const auto placed = ByFileSystem(entries, [](const CommitBatch::Entry& entry) {
        return entry.outcome == CommitOutcome::Done;
    });
    Flush(entries, placed, failures, false, CommitOutcome::Unconfirmed);
    // An uncommitted destination leaves no trace once it is gone.
    for (CommitBatch::Entry& entry : entries)
        entry.destination.reset();
    for (CommitBatch::Entry& entry : entries) {
        if (entry.committed)
            entry.committed(entry.outcome, entry.error);
    }
}

} // namespace

BatchLimits SizedForOpenFiles(BatchLimits wanted, std::size_t openFiles, unsigned fillers,
                              unsigned descriptorsPerFile) {
    const std::size_t forFolders = IdleWalkFoldersKept();
    const std::size_t others = openFiles > 128 ? 64 : openFiles / 2;
    const std::size_t spare = openFiles > others + forFolders ? openFiles - others - forFolders : 0;
    const std::size_t files = spare / std::max(descriptorsPerFile, 1u);
    const std::size_t perBatch = files > fillers ? (files - fillers) / (fillers + 1) : 0;
    wanted.files = std::clamp<std::size_t>(perBatch, 1, wanted.files);
    return wanted;
}

void CommitBatch::Add(std::unique_ptr<DestinationFile> destination, Existing existing,
                      int64_t bytes, Settle settle) {
    Add(std::move(destination), existing, bytes, nullptr, std::move(settle));
}

void CommitBatch::Add(std::unique_ptr<DestinationFile> destination, Existing existing,
                      int64_t bytes, Settle committed, Settle settle) {
    Entries full;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (entries_.empty())
            firstAdded_ = Clock::now();
        entries_.push_back(
            {std::move(destination), existing, std::move(settle), std::move(committed)});
        ++added_;
        bytes_ += bytes;
        // A batch is taken as soon as it reaches its files, so no more wait
        // than that (one when the limit is 0): the caller sized the limit to
        // the descriptors the process may hold, and one too many fails a
        // file's open midway through a run.
        KELVANE_INVARIANT(entries_.size() <= std::max<std::size_t>(limits_.files, 1));
        if (entries_.size() >= limits_.files || bytes_ >= limits_.bytes ||
            Clock::now() - firstAdded_ >= limits_.wait)
            full = TakeLocked();
    }
    Hand(std::move(full));
    GiveSettled();
}

void CommitBatch::CommitIfDue() {
    Entries due;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (!entries_.empty() && Clock::now() - firstAdded_ >= limits_.wait)
            due = TakeLocked();
    }
    Hand(std::move(due));
    GiveSettled();
}

void CommitBatch::Commit() {
    Entries all;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        all = TakeLocked();
    }
    Hand(std::move(all));
    WaitUntilIdle();
    GiveSettled();
}

CommitBatch::~CommitBatch() {
    Commit();
    // Nobody adds while the batch goes away, and Commit() has waited for the
    // committer and told the filler's outcomes: a file added but never told
    // would keep its source, or be counted as done without being so.
    KELVANE_INVARIANT(Waiting() == 0 && Settled() == Added());
    if (!committer_.joinable())
        return;
    {
        const std::lock_guard<std::mutex> hold(turnLock_);
        stopping_ = true;
    }
    turnChanged_.notify_all();
    committer_.join();
}

void CommitBatch::Hand(std::vector<Entry> entries) {
    if (entries.empty())
        return;
    std::unique_lock<std::mutex> hold(turnLock_);
    if (where_ != Where::Inline && !committer_.joinable()) {
        try {
            committer_ = std::thread([this] { CommitInTurn(); });
        } catch (const std::system_error&) {
            where_ = Where::Inline; // no thread to give: the filler commits
        }
    }
    if (where_ == Where::Inline) {
        hold.unlock();
        CommitEntries(entries, failures_);
        TellOutcomes(entries);
        return;
    }
    // The batch before must be done first: that bounds the files waiting,
    // and the descriptors they hold, to one batch for each filler besides
    // the one committed.
    turnChanged_.wait(hold, [this] { return !hasHanded_ && !committing_; });
    handed_ = std::move(entries);
    hasHanded_ = true;
    turnChanged_.notify_all();
}

void CommitBatch::CommitInTurn() {
    std::unique_lock<std::mutex> hold(turnLock_);
    for (;;) {
        turnChanged_.wait(hold, [this] { return hasHanded_ || stopping_; });
        if (!hasHanded_)
            return;
        Entries entries = std::exchange(handed_, {});
        hasHanded_ = false;
        committing_ = true;
        hold.unlock();
        CommitEntries(entries, failures_);
        if (where_ == Where::Background)
            TellOutcomes(entries);
        hold.lock();
        if (where_ == Where::BackgroundSettledByFiller)
            std::move(entries.begin(), entries.end(), std::back_inserter(committed_));
        entries.clear();
        committing_ = false;
        turnChanged_.notify_all();
    }
}

void CommitBatch::WaitUntilIdle() {
    std::unique_lock<std::mutex> hold(turnLock_);
    turnChanged_.wait(hold, [this] { return !hasHanded_ && !committing_; });
}

std::size_t CommitBatch::Waiting() {
    const std::lock_guard<std::mutex> hold(lock_);
    return entries_.size();
}

uint64_t CommitBatch::Added() {
    const std::lock_guard<std::mutex> hold(lock_);
    return added_;
}

uint64_t CommitBatch::Settled() {
    return settled_.load();
}

void CommitBatch::TellOutcomes(std::vector<Entry>& entries) {
    uint64_t settled = 0;
    for (Entry& entry : entries) {
        entry.settle(entry.outcome, entry.error);
        settled = settled_.fetch_add(1) + 1;
    }
    // Every entry told was counted in added_ when it came in, and added_
    // only grows. The walk takes a file as committed once the settled count
    // passes the added count it saw, so a settled count ahead of it would
    // let a source go whose destination may not be on disk.
    KELVANE_INVARIANT(settled <= Added());
}

void CommitBatch::GiveSettled() {
    if (where_ != Where::BackgroundSettledByFiller)
        return;
    Entries ready;
    {
        const std::lock_guard<std::mutex> hold(turnLock_);
        ready = std::exchange(committed_, {});
    }
    TellOutcomes(ready);
}

// Flushes and notes under one lock, so that a file whose flush passed only
// because another thread's flush was told of the failure first still finds
// that failure noted.
void CommitBatch::FlushFailures::Flush(dev_t device, int descriptor) {
    const std::lock_guard<std::mutex> hold(lock_);
    errno = 0;
    if (FlushFileSystem(descriptor))
        return;
    Failure& failure = byDevice_[device];
    failure.madeUpTo = std::max(failure.madeUpTo, DestinationsMade());
    failure.error = errno != 0 ? errno : EIO;
}

int CommitBatch::FlushFailures::Against(dev_t device, uint64_t made) {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto failed = byDevice_.find(device);
    return failed != byDevice_.end() && made <= failed->second.madeUpTo ? failed->second.error : 0;
}

std::vector<CommitBatch::Entry> CommitBatch::TakeLocked() {
    bytes_ = 0;
    return std::exchange(entries_, {});
}

} // namespace kelvane
