// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessLimits.h"

#include <algorithm>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace kelvane {

void TurnOffCoreDumps() {
    // The hard limit too: nothing loaded into the process later can raise it
    // again. The limit alone is not enough where the kernel hands cores to a
    // program (core_pattern "|..."), which may ignore it; a non-dumpable
    // process gives none at all.
    // Lowering a limit and giving up dumpability are always allowed.
    const struct rlimit none { 0, 0 };
    ::setrlimit(RLIMIT_CORE, &none);
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

void RaiseOpenFileLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= kOpenFilesWanted)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY
                         ? kOpenFilesWanted
                         : std::min<rlim_t>(limit.rlim_max, kOpenFilesWanted);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

std::size_t OpenFilesAllowed() {
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
               ? static_cast<std::size_t>(limit.rlim_cur)
               : 1024;
}

} // namespace kelvane
