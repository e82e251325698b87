// What kelvane-cli does to one FILE.
#pragma once

#include "cli/Arguments.h"
#include "cli/StreamFiles.h"
#include "engine/Progress.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace kelvane::cli {

struct ActionContext {
    const CliOptions& options;
    const std::string& password; // Windows-1252, 6 to 8 bytes
    std::ostream& out;
    std::ostream& err;
    ProgressBar* progress = nullptr; // this file's share of the run's progress line
    std::function<void()> letEventsRun;
    StandardStreams streams = {}; // where "-" leads
};

// How one FILE ended; a script tells a wrong password from other failures.
enum class Outcome { Done, Failed, WrongPassword, Cancelled };

// Each writes its messages to ctx.err.
Outcome EncryptOne(const ActionContext& ctx, const std::string& file);
Outcome DecryptOne(const ActionContext& ctx, const std::string& file);
Outcome VerifyOne(const ActionContext& ctx, const std::string& file);
// True when the header is well-formed.
bool InfoOne(std::ostream& out, std::ostream& err, const std::string& file,
             const StandardStreams& streams = {});

// How many files verify and info warned of since the last call: their stored
// length is more than a block short of the data that follows. The checksum
// of zero bytes is 0, so a damaged length over all-zero data still verifies.
int TakeLengthWarnings();

} // namespace kelvane::cli
