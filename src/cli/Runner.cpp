// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Runner.h"

#include "cli/ProgressLine.h"
#include "cli/Signals.h"
#include "engine/CryptFile.h"

#include <atomic>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

namespace kelvane::cli {
namespace {

class Run {
public:
    Run(const RunSettings& settings, const std::vector<FileJob>& jobs, FileAction action)
        : settings_(settings), jobs_(jobs), action_(action),
          progress_(settings.err, settings.drawProgress, TotalSize(jobs), {}, settings.columns),
          messages_(jobs.size()) {}

    Outcome All() {
        std::vector<std::thread> helpers;
        try {
            for (unsigned i = 1; i < settings_.parallel; ++i)
                helpers.emplace_back([this] { TakeJobs(); });
        } catch (const std::system_error&) {
            // Fewer threads than asked: the ones there take every file.
        }
        TakeJobs();
        for (std::thread& helper : helpers)
            helper.join();
        WriteFinishedMessages();
        progress_.Finish();
        const std::size_t left = jobs_.size() - started_.load();
        if (CancelRequested.load() && left > 0)
            settings_.err << "kelvane-cli: cancelled; " << left << (left == 1 ? " file" : " files")
                          << " not started\n";
        // A signal that came after the last file was done cancelled nothing:
        // the run's own result stands.
        if (cancelled_.load() || (CancelRequested.load() && left > 0))
            return Outcome::Cancelled;
        if (failed_.load())
            return Outcome::Failed;
        return wrongPassword_.load() ? Outcome::WrongPassword : Outcome::Done;
    }

private:
    static uint64_t TotalSize(const std::vector<FileJob>& jobs) {
        uint64_t total = 0;
        for (const FileJob& job : jobs)
            total += job.size;
        return total;
    }

    void TakeJobs() {
        while (!CancelRequested.load()) {
            const std::size_t index = next_.fetch_add(1);
            if (index >= jobs_.size())
                return;
            started_.fetch_add(1);
            switch (One(index)) {
            case Outcome::Done:
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
    }

    Outcome One(std::size_t index) {
        const FileJob& job = jobs_[index];
        std::ostringstream out, err;
        const auto share = progress_.ShareFor(job.size);
        const ActionContext ctx{settings_.options,
                                settings_.password,
                                out,
                                err,
                                share.get(),
                                settings_.letEventsRun,
                                settings_.streams,
                                settings_.ageTarget,
                                job.folder ? job.folder->Descriptor() : AT_FDCWD,
                                &claims_};
        Outcome done = Outcome::Failed;
        {
            const CancellableWork cancellable;
            done = action_(ctx, job.path);
        }
        share->Close();
        const std::lock_guard<std::mutex> hold(messagesLock_);
        messages_[index] = {true, out.str(), err.str()};
        WriteFinishedMessages();
        return done;
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
    const std::vector<FileJob>& jobs_;
    FileAction action_;
    ProgressLine progress_;
    std::atomic<std::size_t> next_{0}, started_{0};
    std::atomic<bool> failed_{false}, wrongPassword_{false}, cancelled_{false};
    std::mutex messagesLock_;
    std::vector<FileMessages> messages_;
    std::size_t written_ = 0;
    DestinationClaims claims_;
};

} // namespace

Outcome RunFiles(const RunSettings& settings, const std::vector<FileJob>& jobs, FileAction action) {
    return Run(settings, jobs, action).All();
}

unsigned ParallelFiles(unsigned requested, std::size_t files) {
    unsigned wanted = requested;
    if (wanted == 0)
        wanted = std::max(1u, std::thread::hardware_concurrency());
    if (files < wanted)
        wanted = static_cast<unsigned>(std::max<std::size_t>(files, 1));
    return wanted;
}

} // namespace kelvane::cli
