// kelvane-cli: encrypts, decrypts, verifies and describes crypted files from
// scripts, with the same engine and file format as the desktop program.
#include "cli/Cli.h"
#include "cli/TerminalPrompt.h"
#include "crypto/CryptFile.h"
#include "crypto/SelfTest.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

extern "C" void RequestCancel(int) {
    kelvane::CancelRequested.store(true);
}

// The first Ctrl-C (or hang-up, or termination request) cancels the running
// file cleanly; the handler then reverts, so a second one ends the program.
void CancelOnSignals() {
    struct sigaction action {};
    action.sa_handler = RequestCancel;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGHUP, SIGTERM})
        ::sigaction(signal, &action, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (!kelvane::CryptoSelfTest()) {
        std::cerr << "kelvane-cli: the cipher self-test failed; this build must not be used\n";
        return 3;
    }
    CancelOnSignals();
    kelvane::cli::TerminalPrompter prompter;
    const kelvane::cli::CliEnvironment env{
        std::cin, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, prompter, {}};
    return kelvane::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), env);
}
