// kelvane-cli: encrypts, decrypts, verifies and describes crypted files from
// scripts, with the same engine and file format as the desktop program.
#include "cli/Cli.h"
#include "cli/ProgressLine.h"
#include "cli/Signals.h"
#include "cli/TerminalPrompt.h"
#include "crypto/SelfTest.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    if (!kelvane::CryptoSelfTest()) {
        std::cerr << "kelvane-cli: the cipher self-test failed; this build must not be used\n";
        return kelvane::cli::kExitBroken;
    }
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
