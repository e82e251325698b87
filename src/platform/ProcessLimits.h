// SPDX-License-Identifier: GPL-3.0-or-later
// A process that crashes while it holds a password or a plain text must not
// leave them on disk in a core file, nor let another process of the user
// read them out of its memory.
#pragma once

#include <cstddef>

namespace kelvane {

// Sets the core file limit to zero, soft and hard, and makes the process
// non-dumpable, which also keeps other processes of the user from attaching
// to it or reading its memory. Called first thing by both programs. The
// process still reads its own /proc/self entries; the tables of other
// processes stay as readable as before.
void TurnOffCoreDumps();

// Raises the soft limit of open files towards the hard one, to at most
// `atMost`: a run over many files holds a few descriptors for each file
// waiting in a batch and for the folders it works in, and a desktop
// session's soft limit (1024) is far below what it allows. Called first
// thing by both programs, before anything sizes itself by the limit. The
// window goes only to kWindowOpenFiles, since the applications it starts
// inherit the limit; nothing of either program uses select(), which is
// what the customary limit protects.
constexpr std::size_t kWindowOpenFiles = 8192;
void RaiseOpenFileLimit(std::size_t atMost);

// The soft limit of open files now; 1024 when there is none.
std::size_t OpenFilesAllowed();

// Grows the process's table of descriptors to hold `count` at once (within
// the limit). To be called while the process has one thread: the kernel
// grows a table that threads share only after a grace period, some
// milliseconds each time, which a run over small files paid several times.
void ReserveDescriptors(std::size_t count);

} // namespace kelvane
