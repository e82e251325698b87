// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CoreDumps.h"

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

} // namespace kelvane
