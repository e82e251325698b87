// SPDX-License-Identifier: GPL-3.0-or-later
// The program started where there is no display to show its window on.
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace kelvane {
namespace {

using testing_support::TempDir;

struct Outcome {
    int exitCode = -1; // -1: ended by a signal
    std::string output;
};

// Runs the program with `environment` (env(1) arguments) and `arguments`
// in a scratch directory and collects what it printed.
Outcome RunProgram(const std::string& environment, const std::string& arguments = "") {
    TempDir dir;
    const std::string log = dir / "log";
    const std::string command = "cd '" + dir.Path() + "' && env " + environment +
                                " XDG_CONFIG_HOME='" + dir.Path() + "' '" + KELVANE_PATH + "' " +
                                arguments + " >'" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    Outcome outcome;
    // A shell reports a child killed by a signal as 128 + the signal.
    if (WIFEXITED(status) && WEXITSTATUS(status) < 128)
        outcome.exitCode = WEXITSTATUS(status);
    outcome.output = TempDir::Read(log);
    return outcome;
}

TEST(StartTest, WithoutADisplayOneLineSaysSoAndTheExitCodeIsOne) {
    const Outcome outcome = RunProgram("-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.output, "kelvane: no display to show the window on (DISPLAY and "
                              "WAYLAND_DISPLAY are unset).\n");
}

TEST(StartTest, ADisplayThatCannotBeOpenedIsOneLineTooNotAnAbort) {
    // A display number nothing listens on, and no Wayland to fall back to.
    const Outcome outcome =
        RunProgram("-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:59173 XAUTHORITY=/nonexistent");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.output,
              "kelvane: no display to show the window on (cannot open the display \":59173\").\n");
}

// Asked from a shell, a terminal or a packaging script, where there may be
// no display: the answer comes without one, and no window starts.
TEST(StartTest, HelpAndVersionAnswerWithoutADisplay) {
    const std::string noDisplay = "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    const Outcome version = RunProgram(noDisplay, "--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "kelvane " KELVANE_VERSION "\n");
    const Outcome help = RunProgram(noDisplay, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("Usage: kelvane [FILE]\n", 0), 0u) << help.output;
    EXPECT_NE(help.output.find("/decrypt FILE"), std::string::npos) << help.output;
    // Beside a file the switch is a parameter of the command line like any other.
    EXPECT_EQ(RunProgram(noDisplay, "--version x.txt").exitCode, 1);
}

} // namespace
} // namespace kelvane
