// SPDX-License-Identifier: GPL-3.0-or-later
// A child process that holds a file open until told to let go, for the tests
// of "held open by another program".
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvane::testing_support {

class HoldingChild {
public:
    // Returns once the child holds `path`.
    explicit HoldingChild(const std::string& path) {
        int ready[2];
        int release[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(release[1]);
            const int file = ::open(path.c_str(), O_RDONLY);
            const char byte = file >= 0 ? 'h' : 'f';
            (void)!::write(ready[1], &byte, 1);
            char got = 0;
            (void)!::read(release[0], &got, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_EQ(byte, 'h');
        ::close(ready[0]);
    }
    ~HoldingChild() {
        LetGo();
        ::waitpid(pid_, nullptr, 0); // unless the code under test reaped it
    }
    HoldingChild(const HoldingChild&) = delete;
    HoldingChild& operator=(const HoldingChild&) = delete;

    // Tells the child to end and waits until it has (and so let go), leaving
    // it unreaped for the code under test.
    void LetGo() {
        if (release_ < 0)
            return;
        ::close(release_);
        release_ = -1;
        siginfo_t info{};
        ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT);
    }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
};

} // namespace kelvane::testing_support
