// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessLimits.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

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

void RaiseOpenFileLimit(std::size_t atMost) {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    const rlim_t raised = std::min<rlim_t>(limit.rlim_max, static_cast<rlim_t>(atMost));
    if (limit.rlim_cur >= raised)
        return;
    limit.rlim_cur = raised;
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

void ReserveDescriptors(std::size_t count) {
    const std::size_t highest = std::min(count, OpenFilesAllowed() - 1);
    const int any = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (any < 0)
        return;
    const int far = ::fcntl(any, F_DUPFD_CLOEXEC, static_cast<int>(highest));
    if (far >= 0)
        ::close(far);
    ::close(any);
}

std::size_t OpenFilesAllowed() {
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
               ? static_cast<std::size_t>(limit.rlim_cur)
               : 1024;
}

} // namespace kelvane
