// SPDX-License-Identifier: GPL-3.0-or-later
// Restores an environment variable, set or unset, when the test ends.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace kelvane::testing_support {

class EnvironmentGuard {
public:
    explicit EnvironmentGuard(const char* name) : name_(name) {
        if (const char* value = std::getenv(name))
            saved_ = value;
    }
    ~EnvironmentGuard() {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

} // namespace kelvane::testing_support
