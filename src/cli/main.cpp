// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli: encrypts, decrypts, verifies and describes crypted files from
// scripts, with the same engine and file format as the desktop program.
#include "cli/Cli.h"
#include "cli/ProgressLine.h"
#include "cli/Signals.h"
#include "cli/TerminalPrompt.h"
#include "crypto/SelfTest.h"
#include "platform/ProcessLimits.h"

#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Each file waiting in a batch holds descriptors, and so does each folder a
// walk works in, so a run over many files goes faster with more than the
// customary soft limit of 1024: batches are sized by the limit.
// Nothing here uses select(), which is what that limit protects.
void AllowAllOpenFiles() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace

int main(int argc, char** argv) {
    // Before anything could hold a password.
    kelvane::TurnOffCoreDumps();
    if (!kelvane::CryptoSelfTest()) {
        std::cerr << "kelvane-cli: the cipher self-test failed; this build must not be used\n";
        return kelvane::cli::kExitBroken;
    }
    AllowAllOpenFiles();
    kelvane::cli::CancelOnSignals();
    kelvane::cli::TerminalPrompter prompter;
    kelvane::cli::WatchTerminalWidth();
    const kelvane::cli::CliEnvironment env{
        STDIN_FILENO,  std::cout,
        std::cerr,     ::isatty(STDERR_FILENO) == 1,
        prompter,      {},
        STDOUT_FILENO, [] { return kelvane::cli::TerminalColumns(STDERR_FILENO); }};
    return kelvane::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), env);
}
