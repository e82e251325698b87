// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli: encrypts, decrypts, verifies and describes crypted files from
// scripts, with the same engine and file format as the desktop program.
#include "cli/Cli.h"
#include "cli/ProgressLine.h"
#include "cli/Signals.h"
#include "cli/TerminalPrompt.h"
#include "crypto/SelfTest.h"
#include "platform/CoreDumps.h"

#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A walk holds each folder with files to do open until they are done, so a
// wide tree needs more descriptors than the customary soft limit of 1024.
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
