// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Runner.h"

#include "cli/Arguments.h"
#include "cli/ProgressLine.h"
#include "cli/Signals.h"
#include "crypto/Translate.h"
#include "engine/CommitBatch.h"
#include "engine/CryptFile.h"
#include "platform/ErrorText.h"
#include "platform/Paths.h"
#include "platform/ProcessLimits.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <limits>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

namespace kelvane::cli {
namespace {

const char* FinishedText(bool one, bool kept) {
    if (one)
        // TRANSLATORS: %1 is the number of files.
        return kept ? KELVANE_TR_NOOP("cli", "%1 file was already done by an earlier run, which "
                                             "left it both plain and crypted; its source is kept")
                    : KELVANE_TR_NOOP("cli", "%1 file was already done by an earlier run, which "
                                             "left it both plain and crypted; its source is "
                                             "removed");
    return kept ? KELVANE_TR_NOOP("cli", "%1 files were already done by an earlier run, which "
                                         "left them both plain and crypted; their sources are "
                                         "kept")
                : KELVANE_TR_NOOP("cli", "%1 files were already done by an earlier run, which "
                                         "left them both plain and crypted; their sources are "
                                         "removed");
}

class Run {
public:
    // `feed`, when given, adds files while the run goes on.
    Run(const RunSettings& settings, std::vector<FileJob> jobs, FileAction action,
        FileFeed* feed = nullptr)
        : settings_(settings), action_(action), feed_(feed),
          progress_(settings.err, settings.drawProgress, TotalSize(jobs), {}, settings.columns),
          key_(settings.password), batchLimits_(LimitsFor(settings.parallel)),
          batch_(batchLimits_, CommitBatch::Where::Background) {
        for (FileJob& job : jobs)
            Add(std::move(job));
        fed_ = feed == nullptr;
    }

    // A file under way or waiting holds up to three descriptors: its
    // source, its new file and, for a named file, its folder's.
    static constexpr unsigned kDescriptorsPerFile = 3;

    static BatchLimits LimitsFor(unsigned parallel) {
        return SizedForOpenFiles({}, OpenFilesAllowed(), std::max(parallel, 1u),
                                 kDescriptorsPerFile);
    }

    // Only so many files wait: one batch per filler besides the one
    // committed, and one under way for each.
    static std::size_t DescriptorsAtMost(unsigned parallel, const BatchLimits& limits,
                                         std::size_t files) {
        const std::size_t fillers = std::max(parallel, 1u);
        const std::size_t waiting = (fillers + 1) * limits.files + fillers;
        return std::min(waiting, files) * kDescriptorsPerFile + 64;
    }

    Outcome All() {
        // Already done at start for the usual number of jobs, before any
        // thread; this grows the table only for more jobs than that. One
        // file fits the table every process starts with.
        if (Batched())
            ReserveDescriptors(
                DescriptorsAtMost(settings_.parallel, batchLimits_,
                                  feed_ ? std::numeric_limits<std::size_t>::max() : jobs_.size()));
        std::vector<std::thread> helpers;
        try {
            for (unsigned i = 1; i < settings_.parallel; ++i)
                helpers.emplace_back([this] { TakeJobs(); });
        } catch (const std::system_error&) {
            // Fewer threads than asked: the ones there take every file.
        }
        if (feed_)
            FeedAll();
        TakeJobs();
        for (std::thread& helper : helpers)
            helper.join();
        // Cancelled or not, the files written so far are complete: they are
        // committed, and their sources go, as in any other batch.
        batch_.Commit();
        WriteFinishedMessages();
        progress_.Finish();
        ReportFinished();
        const std::size_t left = jobs_.size() - started_.load();
        if (CancelRequested.load() && left > 0)
            settings_.err << "kelvane-cli: "
                          // TRANSLATORS: %1 is the number of files.
                          << FormatText(left == 1 ? Tr("cli", "cancelled; %1 file not started")
                                                  : Tr("cli", "cancelled; %1 files not started"),
                                        {std::to_string(left)})
                          << '\n';
        // A signal that came after the last file was done cancelled nothing:
        // the run's own result stands.
        if (cancelled_.load() || (CancelRequested.load() && left > 0))
            return Outcome::Cancelled;
        if (failed_.load())
            return Outcome::Failed;
        if (wrongPassword_.load())
            return Outcome::WrongPassword;
        return lengthWarned_.load() ? Outcome::LengthWarned : Outcome::Done;
    }

private:
    // A file of the run, with whether an earlier one becomes the same name.
    // That is settled in the order given, as files are added and before
    // each starts, so the file that keeps the name is always the first,
    // however the threads run.
    struct Queued {
        FileJob job;
        bool claimed = false;
        std::size_t message = 0; // its place among the messages
    };

    bool Claimed(const FileJob& job) {
        const auto destination = DestinationOf(settings_.options, job.path);
        if (!destination || settings_.streams.IsOutput(*destination))
            return false;
        return job.folder ? !claims_.Claim(-1, job.folder->Identity(), NamePart(*destination))
                          : !claims_.Claim(AT_FDCWD, {}, *destination);
    }

    void Add(FileJob&& job) {
        const bool claimed = Claimed(job);
        const std::lock_guard<std::mutex> messages(messagesLock_);
        const std::lock_guard<std::mutex> hold(jobsLock_);
        jobs_.push_back({std::move(job), claimed, messages_.size()});
        messages_.emplace_back();
        if (waiting_ > 0)
            jobAdded_.notify_one();
    }

    void Say(const std::string& line) {
        const std::lock_guard<std::mutex> hold(messagesLock_);
        messages_.push_back({true, {}, line + '\n'});
        WriteFinishedMessages();
    }

    // The files the feed gives join those under way; the jobs waiting for
    // one are told when the feed ends.
    void FeedAll() {
        feed_->Feed(
            [this](FileJob&& job) {
                if (CancelRequested.load())
                    return false;
                Add(std::move(job));
                return true;
            },
            [this](const std::string& line) { Say(line); });
        const std::lock_guard<std::mutex> hold(jobsLock_);
        fed_ = true;
        jobAdded_.notify_all();
    }

    // With a feed the number of files is not known beforehand.
    bool Batched() const { return feed_ != nullptr || jobs_.size() > 1; }

    // The next file not yet started, waiting for the feed if it has none
    // yet; null once there is none left.
    const Queued* NextJob(std::size_t& index) {
        std::unique_lock<std::mutex> hold(jobsLock_);
        while (next_ >= jobs_.size() && !fed_) {
            ++waiting_;
            jobAdded_.wait(hold);
            --waiting_;
        }
        if (next_ >= jobs_.size())
            return nullptr;
        index = next_++;
        return &jobs_[index];
    }

    // Each such file had a line of its own; over many files the count is
    // what the user looks for.
    void ReportFinished() const {
        const std::size_t finished = finished_.load();
        if (finished == 0 || !Batched())
            return;
        settings_.err << "kelvane-cli: "
                      << FormatText(Tr("cli", FinishedText(finished == 1, settings_.options.keep)),
                                    {std::to_string(finished)})
                      << '\n';
    }

    static uint64_t TotalSize(const std::vector<FileJob>& jobs) {
        uint64_t total = 0;
        for (const FileJob& job : jobs)
            total += job.size;
        return total;
    }

    void TakeJobs() {
        while (!CancelRequested.load()) {
            // A batch waits no longer than its limit, however long the next
            // file takes.
            batch_.CommitIfDue();
            std::size_t index = 0;
            const Queued* job = NextJob(index);
            if (job == nullptr)
                return;
            started_.fetch_add(1);
            One(*job);
        }
    }

    void Count(Outcome outcome) {
        switch (outcome) {
        case Outcome::Done:
            break;
        case Outcome::Finished:
            finished_.fetch_add(1);
            break;
        case Outcome::LengthWarned:
            lengthWarned_.store(true);
            break;
        case Outcome::WrongPassword:
            wrongPassword_.store(true);
            break;
        case Outcome::Cancelled:
            cancelled_.store(true);
            failed_.store(true);
            break;
        case Outcome::Failed:
            failed_.store(true);
            break;
        }
    }

    // One file's messages and context, kept until the file ends, which for a
    // file whose destination waits in a batch is after its action returned.
    struct Slot : DeferredCommits, std::enable_shared_from_this<Slot> {
        Slot(Run& owner, const Queued& queued)
            : run(owner), index(queued.message), share(owner.progress_.ShareFor(queued.job.size)),
              folder(owner.HoldFolderOf(queued.job)),
              folderError(folder ? 0 : errno), ctx{owner.settings_.options,
                                                   owner.settings_.password,
                                                   out,
                                                   err,
                                                   share.get(),
                                                   owner.settings_.letEventsRun,
                                                   owner.settings_.streams,
                                                   owner.settings_.ageTarget,
                                                   !queued.job.folder ? AT_FDCWD
                                                   : folder           ? folder->Descriptor()
                                                                      : -1,
                                                   queued.claimed,
                                                   owner.Batched() ? this : nullptr,
                                                   folder ? folder->Identity() : FileNode{},
                                                   &owner.key_} {}

        void Defer(std::unique_ptr<DestinationFile> destination, Existing existing, int64_t bytes,
                   Conclude conclude) override {
            deferred = true;
            run.batch_.Add(std::move(destination), existing, bytes,
                           [self = shared_from_this(), conclude](CommitOutcome outcome, int error) {
                               self->run.Ended(*self, conclude(outcome, error));
                           });
        }

        void CommitPending() override { run.batch_.Commit(); }

        Run& run;
        std::size_t index;
        std::ostringstream out, err;
        std::unique_ptr<ProgressLine::FileShare> share;
        // A walked file's folder, open until the file has ended.
        WalkFolder::Hold folder;
        int folderError;
        const ActionContext ctx;
        bool deferred = false;
    };

    void One(const Queued& queued) {
        const auto slot = std::make_shared<Slot>(*this, queued);
        Outcome done = Outcome::Failed;
        if (queued.job.folder && !slot->folder) {
            ReportFolderLost(*slot, queued.job);
        } else {
            const CancellableWork cancellable;
            done = action_(slot->ctx, queued.job.path);
        }
        slot->share->Close();
        if (!slot->deferred)
            Ended(*slot, done);
    }

    // A walked file's folder, opened again when no file of it was under way;
    // the files waiting in the batch hold the descriptors it may lack.
    WalkFolder::Hold HoldFolderOf(const FileJob& job) {
        WalkFolder::Hold held(job.folder);
        if (!held && job.folder && (errno == EMFILE || errno == ENFILE)) {
            batch_.Commit();
            held = WalkFolder::Hold(job.folder);
        }
        return held;
    }

    // Folders nobody works in are closed and opened again for their next
    // file: one moved or replaced meanwhile is not worked in any more.
    static void ReportFolderLost(Slot& slot, const FileJob& job) {
        const int error = slot.folderError;
        // TRANSLATORS: %1 is a file's name, %2 why it was skipped.
        const std::string skipped = Tr("cli", "skipped \"%1\": %2");
        if (error == ESTALE || error == ENOENT)
            slot.err << "kelvane-cli: "
                     << FormatText(skipped, {job.path, Tr("cli", "its folder was moved or "
                                                                 "replaced during the run")})
                     << '\n';
        else
            slot.err << "kelvane-cli: "
                     << FormatText(skipped,
                                   // TRANSLATORS: %1 is the system's reason.
                                   {job.path, FormatText(Tr("cli", "couldn't open its folder: %1"),
                                                         {ErrorText(error)})})
                     << '\n';
    }

    void Ended(Slot& slot, Outcome outcome) {
        Count(outcome);
        const std::lock_guard<std::mutex> hold(messagesLock_);
        messages_[slot.index] = {true, slot.out.str(), slot.err.str()};
        WriteFinishedMessages();
    }

    // Files end in any order when several run at once; their messages come
    // out in the order the files were given, each file's lines together, so
    // the same run always reads the same. Files start in that order too, so
    // a file still running holds back only the messages of later ones.
    void WriteFinishedMessages() {
        while (written_ < messages_.size() && messages_[written_].finished) {
            FileMessages& file = messages_[written_++];
            progress_.WriteLines(settings_.out, file.out);
            progress_.WriteLines(settings_.err, file.err);
            file.out.clear();
            file.err.clear();
        }
    }

    struct FileMessages {
        bool finished = false;
        std::string out, err;
    };

    const RunSettings& settings_;
    FileAction action_;
    FileFeed* feed_;
    ProgressLine progress_;
    std::atomic<std::size_t> started_{0}, finished_{0};
    std::atomic<bool> failed_{false}, wrongPassword_{false}, cancelled_{false};
    std::atomic<bool> lengthWarned_{false};
    // Taken before jobsLock_ where both are held.
    std::mutex messagesLock_;
    // A deque: a file's messages and its job stay where they are while
    // later ones are added.
    std::deque<FileMessages> messages_;
    std::size_t written_ = 0;
    std::mutex jobsLock_;
    std::condition_variable jobAdded_;
    std::deque<Queued> jobs_;
    std::size_t next_ = 0;     // the next job to start
    std::size_t waiting_ = 0;  // jobs waiting for the feed
    bool fed_ = false;         // every file of the run is in jobs_
    DestinationClaims claims_; // only the thread that adds files uses it
    const RunKey key_;
    BatchLimits batchLimits_;
    // Declared last: it commits what still waits before the rest goes.
    CommitBatch batch_;
};

} // namespace

Outcome RunFiles(const RunSettings& settings, std::vector<FileJob> jobs, FileAction action) {
    return Run(settings, std::move(jobs), action).All();
}

Outcome RunFiles(const RunSettings& settings, FileFeed& feed, FileAction action) {
    return Run(settings, {}, action, &feed).All();
}

void ReserveDescriptorsForRuns(const std::vector<std::string>& args) {
    if (const ParsedArguments parsed = ParseArguments(args);
        parsed.Ok() && !parsed.options.recurse && parsed.options.files.size() <= 1)
        return;
    const unsigned usual = ParallelFiles(0, std::numeric_limits<std::size_t>::max());
    ReserveDescriptors(Run::DescriptorsAtMost(usual, Run::LimitsFor(usual),
                                              std::numeric_limits<std::size_t>::max()));
}

namespace {

// Read from the system once: each question opens and reads a file of /sys.
unsigned Processors() {
    static const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    return processors;
}

} // namespace

unsigned ParallelFiles(unsigned requested, std::size_t files) {
    unsigned wanted = requested;
    // One file needs no count of processors, which is read from the system.
    if (wanted == 0)
        wanted = files <= 1 ? 1 : Processors();
    if (files < wanted)
        wanted = static_cast<unsigned>(std::max<std::size_t>(files, 1));
    return wanted;
}

} // namespace kelvane::cli
