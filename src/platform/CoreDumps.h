// SPDX-License-Identifier: GPL-3.0-or-later
// A process that crashes while it holds a password or a plain text must not
// leave them on disk in a core file, nor let another process of the user
// read them out of its memory.
#pragma once

namespace kelvane {

// Sets the core file limit to zero, soft and hard, and makes the process
// non-dumpable, which also keeps other processes of the user from attaching
// to it or reading its memory. Called first thing by both programs. The
// process still reads its own /proc/self entries; the tables of other
// processes stay as readable as before.
void TurnOffCoreDumps();

} // namespace kelvane
