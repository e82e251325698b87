// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop of the tests' own for the shell commands: a handler application
// registered as the default of a test MIME type in private XDG directories,
// and a stand-in `lp` first on PATH. GIO reads these directories once per
// process, so the desktop is made once, before the first launch, and every
// test starts from an empty log.
#pragma once

#include "support/TempDir.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvane::testing_support {

class ShellDesktop {
public:
    // The handler's file types: ".kvtest" has the handler as its default
    // application, ".kvorphan" has no application at all, ".kvbroken" one
    // whose program is missing.
    static ShellDesktop& Get() {
        static ShellDesktop desktop;
        return desktop;
    }

    const std::string& Log() const { return log_; }

    // Empties the log and makes the FIFOs the handler talks through.
    void Reset(const std::string& mode) {
        CloseReady();
        std::filesystem::remove_all(log_);
        std::filesystem::create_directories(log_);
        ::mkfifo((log_ + "/ready").c_str(), 0600);
        ::mkfifo((log_ + "/release").c_str(), 0600);
        // Opened before any handler runs, so a handler's open never fails.
        ready_ = ::open((log_ + "/ready").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ::setenv("KELVANE_HANDLER_MODE", mode.c_str(), 1);
    }

    // Blocks until a holder says it holds its file; false after 20 s.
    bool WaitHolding() const {
        pollfd wait{ready_, POLLIN, 0};
        if (::poll(&wait, 1, 20000) != 1 || (wait.revents & POLLIN) == 0)
            return false;
        char byte = 0;
        return ::read(ready_, &byte, 1) == 1 && byte == 'h';
    }

    // Lets `count` holders go.
    void Release(int count = 1) const {
        const int release = ::open((log_ + "/release").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(release, 0);
        const std::string bytes(static_cast<std::size_t>(count), 'r');
        EXPECT_EQ(::write(release, bytes.data(), bytes.size()), static_cast<ssize_t>(count));
        ::close(release);
    }

    // Blocks until every holder has ended (the last writer of "ready" gone).
    bool WaitHoldersGone() const {
        for (;;) {
            pollfd wait{ready_, POLLIN, 0};
            if (::poll(&wait, 1, 20000) != 1)
                return false;
            char byte = 0;
            if ((wait.revents & POLLIN) != 0 && ::read(ready_, &byte, 1) == 1)
                continue;
            return (wait.revents & POLLHUP) != 0;
        }
    }

    // Blocks until a process the program started has ended, leaving it for
    // the program to reap; one the program has reaped already has ended too.
    static bool WaitEnded(int64_t pid) {
        siginfo_t info{};
        return pid > 0 && (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) == 0 ||
                           errno == ECHILD);
    }

    // Blocks until every process the program handed a file to and does not
    // watch has ended, and reaps them.
    static void WaitUnwatchedEnded() {
        while (::waitpid(-1, nullptr, 0) > 0) {
        }
    }

    std::string Calls() const { return TempDir::Read(log_ + "/calls"); }
    std::string Seen(const std::string& name) const {
        return TempDir::Read(log_ + "/seen-" + name);
    }

private:
    ShellDesktop() {
        const std::string root = dir_.Path();
        log_ = root + "/log";
        const std::string dataHome = root + "/data";
        const std::string config = root + "/config";
        std::filesystem::create_directories(dataHome + "/applications");
        std::filesystem::create_directories(dataHome + "/mime/packages");
        std::filesystem::create_directories(root + "/system-data");
        std::filesystem::create_directories(config);
        std::filesystem::create_directories(root + "/bin");

        std::ofstream(dataHome + "/applications/kelvane-test-handler.desktop")
            << "[Desktop Entry]\nType=Application\nName=Kelvane test handler\n"
            << "Exec=" << SHELL_HANDLER_PATH << " %f\n"
            << "MimeType=application/x-kelvane-test;\nNoDisplay=true\n";
        std::ofstream(dataHome + "/applications/kelvane-broken-handler.desktop")
            << "[Desktop Entry]\nType=Application\nName=Kelvane broken handler\n"
            << "Exec=" << root << "/missing/kelvane-no-such-program %f\n"
            << "MimeType=application/x-kelvane-broken;\nNoDisplay=true\n";
        std::ofstream(dataHome + "/mime/packages/kelvane-test.xml")
            << "<?xml version=\"1.0\"?>\n"
            << "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            << " <mime-type type=\"application/x-kelvane-test\"><glob pattern=\"*.kvtest\"/>"
            << "</mime-type>\n"
            << " <mime-type type=\"application/x-kelvane-orphan\"><glob pattern=\"*.kvorphan\"/>"
            << "</mime-type>\n"
            << " <mime-type type=\"application/x-kelvane-broken\"><glob pattern=\"*.kvbroken\"/>"
            << "</mime-type>\n</mime-info>\n";
        std::ofstream(config + "/mimeapps.list")
            << "[Default Applications]\n"
            << "application/x-kelvane-test=kelvane-test-handler.desktop\n"
            << "application/x-kelvane-broken=kelvane-broken-handler.desktop\n";
        const std::string update =
            std::string(UPDATE_MIME_DATABASE) + " '" + dataHome + "/mime' >/dev/null 2>&1";
        EXPECT_EQ(std::system(update.c_str()), 0) << update;
        std::filesystem::create_symlink(SHELL_HANDLER_PATH, root + "/bin/lp");

        // Only our own types and applications: the machine's would make the
        // results depend on what is installed.
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (root + "/system-data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root + "/system-config").c_str(), 1);
        ::setenv("KELVANE_HANDLER_LOG", log_.c_str(), 1);
        const char* path = std::getenv("PATH");
        ::setenv("PATH", (root + "/bin:" + (path != nullptr ? path : "/usr/bin:/bin")).c_str(), 1);
        Reset("exit");
    }

    void CloseReady() {
        if (ready_ >= 0)
            ::close(ready_);
        ready_ = -1;
    }

    TempDir dir_;
    std::string log_;
    int ready_ = -1;
};

} // namespace kelvane::testing_support
