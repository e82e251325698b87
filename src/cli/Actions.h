// SPDX-License-Identifier: GPL-3.0-or-later
// What kelvane-cli does to one FILE.
#pragma once

#include "cli/Arguments.h"
#include "cli/StreamFiles.h"
#include "engine/Convert.h"
#include "engine/Progress.h"

#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <tuple>

namespace kelvane::cli {

// The name `file` becomes: -o's, or the command's own rule for it; none
// for verify and for a name decrypt can't take ".cry" from.
std::optional<std::string> DestinationOf(const CliOptions& options, const std::string& file);

// The destinations a run has taken on, so that two sources that become one
// name ("a.cry" and "a.CRY") never both write it: -f replaces a file that
// was there before the run, never one the run made itself. The run claims
// every file's destination in the order given before the first file
// starts, so which of the two writes never depends on which thread gets
// there first.
class DestinationClaims {
public:
    // False when another file of this run already took `name` in the
    // folder `folder` (an open descriptor, or AT_FDCWD); a walk's folder is
    // known as `folderNode`, so it need not be looked at again.
    bool Claim(int folder, const FileNode& folderNode, const std::string& name);

private:
    std::set<std::tuple<uint64_t, uint64_t, std::string>> taken_;
};

enum class Outcome;

// A run of many files commits their destinations in batches (CommitBatch.h):
// a file whose destination waits in one ends only once its batch is
// committed, when `conclude` gives its outcome.
class DeferredCommits {
public:
    using Conclude = std::function<Outcome(CommitOutcome outcome, int error)>;
    virtual ~DeferredCommits() = default;
    virtual void Defer(std::unique_ptr<DestinationFile> destination, Existing existing,
                       int64_t bytes, Conclude conclude) = 0;
    // Commits every destination deferred so far, which gives back the
    // descriptors they hold.
    virtual void CommitPending() = 0;
};

struct ActionContext {
    const CliOptions& options;
    const std::string& password; // Windows-1252, 6 to 8 bytes
    std::ostream& out;
    std::ostream& err;
    ProgressBar* progress = nullptr; // this file's share of the run's progress line
    std::function<void()> letEventsRun;
    StandardStreams streams = {};         // where "-" leads
    const AgeTarget* ageTarget = nullptr; // convert only
    // A file a walk found is opened in the folder the walk holds open, by
    // the last component of its path alone; a named file as given.
    int folder = AT_FDCWD;
    // An earlier file of the run becomes the same name (DestinationClaims).
    bool destinationClaimed = false;
    // Null when the file is committed on its own, as a single file is.
    DeferredCommits* deferred = nullptr;
    // The walk's folder as it was listed; all zero for a named file.
    FileNode folderNode{};
    // The password's key, made once for the whole run.
    const RunKey* runKey = nullptr;
};

// How one FILE ended; a script tells a wrong password from other failures.
// When the action handed its destination to ctx.deferred, what it returns
// does not count: the conclusion gives the outcome.
// Finished: an earlier run had put the destination in place and left the
// source; this one only removed the source, or kept it with -k.
// LengthWarned: done, but the file's stored length is more than a block short
// of the data that follows. The checksum of zero bytes is 0, so a damaged
// length over all-zero data still verifies.
enum class Outcome { Done, Finished, LengthWarned, Failed, WrongPassword, Cancelled };

// Each writes its messages to ctx.err.
Outcome EncryptOne(const ActionContext& ctx, const std::string& file);
Outcome DecryptOne(const ActionContext& ctx, const std::string& file);
Outcome VerifyOne(const ActionContext& ctx, const std::string& file);
Outcome ConvertOne(const ActionContext& ctx, const std::string& file);
// Done when the header is well-formed, LengthWarned when its length is
// damaged too, Failed otherwise.
Outcome InfoOne(std::ostream& out, std::ostream& err, const std::string& file,
                const StandardStreams& streams = {});

} // namespace kelvane::cli
