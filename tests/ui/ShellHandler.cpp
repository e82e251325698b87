// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in desktop application for the shell tests, registered as the
// default of a test MIME type, and a stand-in `lp` when started under that
// name. It reads the file it is given and records what it read in the
// directory named by KELVANE_HANDLER_LOG. Then, by KELVANE_HANDLER_MODE:
//   exit (default)  it ends at once;
//   hold            it holds the file open, says so with a byte on the FIFO
//                   "ready", and ends when a byte arrives on the FIFO "release";
//   handoff         a second process does that, and the program ends at once,
//                   as launchers do that hand a document on;
//   lp-fails        as `lp`, it says on its standard error that there is no
//                   printer and ends with code 1.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::string LogDirectory() {
    const char* log = std::getenv("KELVANE_HANDLER_LOG");
    return log != nullptr ? log : ".";
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Records the bytes seen under "seen-<name>" and the call in "calls".
bool Record(const std::string& role, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::ofstream(LogDirectory() + "/seen-" + BaseName(path), std::ios::binary) << bytes;
    std::ofstream(LogDirectory() + "/calls", std::ios::app) << role << " " << path << "\n";
    return true;
}

int HoldUntilReleased(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const int ready =
        ::open((LogDirectory() + "/ready").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    const int release = ::open((LogDirectory() + "/release").c_str(), O_RDWR | O_CLOEXEC);
    if (file < 0 || ready < 0 || release < 0)
        return 1;
    const char held = 'h';
    if (::write(ready, &held, 1) != 1)
        return 1;
    char got = 0;
    return ::read(release, &got, 1) == 1 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool asLp = BaseName(argv[0]) == "lp";
    int first = 1;
    if (asLp && argc > 2 && std::strcmp(argv[1], "--") == 0)
        first = 2;
    if (first >= argc)
        return 2;
    const std::string path = argv[first];
    if (!Record(asLp ? "lp" : "open", path))
        return 1;
    const std::string mode =
        std::getenv("KELVANE_HANDLER_MODE") ? std::getenv("KELVANE_HANDLER_MODE") : "";
    if (asLp && mode == "lp-fails") {
        std::fputs("lp: Error - No default destination.\n", stderr);
        return 1;
    }
    if (asLp || mode.empty() || mode == "exit")
        return 0;
    if (mode == "hold")
        return HoldUntilReleased(path);
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::setsid(); // lives on after the program that started it
        ::_exit(HoldUntilReleased(path));
    }
    return holder > 0 ? 0 : 1;
}
