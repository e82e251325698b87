#include "cli/Runner.h"

#include "cli/ProgressLine.h"
#include "cli/Signals.h"
#include "crypto/CryptFile.h"

#include <atomic>
#include <sstream>
#include <system_error>
#include <thread>

namespace kelvane::cli {
namespace {

class Run {
public:
    Run(const RunSettings& settings, const std::vector<FileJob>& jobs, FileAction action)
        : settings_(settings), jobs_(jobs), action_(action),
          progress_(settings.err, settings.drawProgress, TotalSize(jobs)) {}

    bool All() {
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
        progress_.Finish();
        const std::size_t left = jobs_.size() - started_.load();
        if (CancelRequested.load() && left > 0)
            settings_.err << "kelvane-cli: cancelled; " << left << (left == 1 ? " file" : " files")
                          << " not started\n";
        return allDone_.load() && left == 0;
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
            if (!One(jobs_[index]))
                allDone_.store(false);
        }
    }

    bool One(const FileJob& job) {
        std::ostringstream out, err;
        const auto share = progress_.ShareFor(job.size);
        const ActionContext ctx{settings_.options, settings_.password,    out, err,
                                share.get(),       settings_.letEventsRun};
        bool done = false;
        {
            const CancellableWork cancellable;
            done = action_(ctx, job.path);
        }
        share->Close();
        progress_.WriteLines(settings_.out, out.str());
        progress_.WriteLines(settings_.err, err.str());
        return done;
    }

    const RunSettings& settings_;
    const std::vector<FileJob>& jobs_;
    FileAction action_;
    ProgressLine progress_;
    std::atomic<std::size_t> next_{0}, started_{0};
    std::atomic<bool> allDone_{true};
};

} // namespace

bool RunFiles(const RunSettings& settings, const std::vector<FileJob>& jobs, FileAction action) {
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
