// SPDX-License-Identifier: GPL-3.0-or-later
// Running one action over many files, up to a number of them at once. Each
// file's messages are gathered and written whole when the file is over, so
// lines of files running side by side never interleave.
#pragma once

#include "cli/Actions.h"
#include "platform/TreeWalk.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kelvane::cli {

struct FileJob {
    std::string path;
    uint64_t size = 0; // for the progress line; 0 when unknown
    // A walked file is opened in the folder the walk holds open.
    std::shared_ptr<WalkFolder> folder;
};

struct RunSettings {
    const CliOptions& options;
    const std::string& password;
    std::ostream& out;
    std::ostream& err;
    bool drawProgress = false;
    unsigned parallel = 1; // files at once
    std::function<void()> letEventsRun;
    StandardStreams streams = {};
    std::function<int()> columns = {};    // the terminal's width for the progress line
    const AgeTarget* ageTarget = nullptr; // convert only
};

using FileAction = Outcome (*)(const ActionContext&, const std::string&);

// Files that reach a run while it goes on, such as a walk's: the first files
// are worked on while the walk still lists the folders after them.
class FileFeed {
public:
    virtual ~FileFeed() = default;
    // Hands each file to `take`, in the run's order, and each line about
    // something passed over to `say`; stops once `take` returns false.
    virtual void Feed(const std::function<bool(FileJob&&)>& take,
                      const std::function<void(const std::string&)>& say) = 0;
};

// Done when every file was done; WrongPassword when that was the only
// failure; Cancelled once CancelRequested was set. Stops starting files once
// it is set; the files already running stop at their next progress report.
Outcome RunFiles(const RunSettings& settings, std::vector<FileJob> jobs, FileAction action);
// The same over the files `feed` gives, started as they come. The feed runs
// on the calling thread while the other jobs already take files, and its
// lines come out where they fall among the files' messages.
Outcome RunFiles(const RunSettings& settings, FileFeed& feed, FileAction action);

// Grows the process's table of descriptors to what a run of the usual
// number of jobs may hold at once. Called at start, before any thread: the
// kernel grows a table that threads share only after a grace period, which
// cost a run over small files more than its files did. A command line
// (`args`, the program's name left out) that names one file and walks no
// folder needs no room: growing the table would be most of its own cost.
void ReserveDescriptorsForRuns(const std::vector<std::string>& args);

// The number of files to run at once: -j, else one per processor, never
// more than there are files.
unsigned ParallelFiles(unsigned requested, std::size_t files);

} // namespace kelvane::cli
