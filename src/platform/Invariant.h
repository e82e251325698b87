// SPDX-License-Identifier: GPL-3.0-or-later
// A check of something that holds by construction, kept in release builds
// too (unlike assert, which NDEBUG removes): where a broken one would have
// the program write a wrong file and give it a name, stopping at once is
// the lesser harm. The failed condition and its place go to stderr, then
// the process aborts, before anything else is written or renamed.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kelvane {

[[noreturn]] inline void InvariantFailed(const char* condition, const char* file, int line) {
    // Nothing is left to do if even this can't be written.
    static_cast<void>(
        std::fprintf(stderr, "%s:%d: internal check failed: %s\n", file, line, condition));
    static_cast<void>(std::fflush(stderr));
    std::abort();
}

} // namespace kelvane

#define KELVANE_INVARIANT(condition)                                                               \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::kelvane::InvariantFailed(#condition, __FILE__, __LINE__))
