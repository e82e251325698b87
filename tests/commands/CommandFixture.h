// SPDX-License-Identifier: GPL-3.0-or-later
// Every commands test runs in a fresh working directory with the shared
// state and the preferences as at the start of a run.
#pragma once

#include "commands/State.h"
#include "support/EnvironmentGuard.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kelvane::testing_support {

class CommandFixture : public ::testing::Test {
protected:
    CommandFixture() : previousDirectory_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir.Path());
        // The record of files out for their applications stays the test's own.
        ::setenv("XDG_STATE_HOME", stateHome.Path().c_str(), 1);
        ResetSharedState();
    }
    ~CommandFixture() override {
        std::filesystem::current_path(previousDirectory_);
        ResetSharedState();
    }

    EnvironmentGuard stateGuard{"XDG_STATE_HOME"};
    TempDir stateHome;
    TempDir dir;

private:
    std::filesystem::path previousDirectory_;
};

} // namespace kelvane::testing_support
