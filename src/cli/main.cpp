// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli: encrypts, decrypts, verifies and describes crypted files from
// scripts, with the same engine and file format as the desktop program.
#include "cli/Cli.h"
#include "cli/MessageCatalogue.h"
#include "cli/ProgressLine.h"
#include "cli/Runner.h"
#include "cli/Signals.h"
#include "cli/TerminalPrompt.h"
#include "crypto/SelfTest.h"
#include "crypto/Translate.h"
#include "platform/ProcessLimits.h"

#include <iostream>
#include <limits>
#include <unistd.h>

int main(int argc, char** argv) {
    // Before anything could hold a password.
    kelvane::TurnOffCoreDumps();
    // Before any thread: the workers' messages are translated too.
    kelvane::cli::UseMessageCatalogue();
    if (!kelvane::CryptoSelfTest()) {
        std::cerr << "kelvane-cli: "
                  << kelvane::Tr("cli", "the cipher self-test failed; this build must not be used")
                  << '\n';
        return kelvane::cli::kExitBroken;
    }
    // Batches are sized by the limit: as many as the hard limit allows.
    kelvane::RaiseOpenFileLimit(std::numeric_limits<std::size_t>::max());
    const std::vector<std::string> args(argv + 1, argv + argc);
    kelvane::cli::ReserveDescriptorsForRuns(args);
    kelvane::cli::CancelOnSignals();
    kelvane::cli::TerminalPrompter prompter;
    kelvane::cli::WatchTerminalWidth();
    const kelvane::cli::CliEnvironment env{
        STDIN_FILENO,  std::cout,
        std::cerr,     ::isatty(STDERR_FILENO) == 1,
        prompter,      {},
        STDOUT_FILENO, [] { return kelvane::cli::TerminalColumns(STDERR_FILENO); }};
    return kelvane::cli::RunCli(args, env);
}
