// Whether another program holds a file open: Linux has no share modes that
// would make an open fail, so the processes' descriptor tables are read.
#pragma once

#include <set>
#include <string>
#include <sys/types.h>
#include <utility>

namespace kelvane {

// A file as the kernel knows it: device and inode.
using FileIdentity = std::pair<dev_t, ino_t>;

// The identity of the file at `path`, following links; nothing when it is
// gone.
bool IdentityOf(const std::string& path, FileIdentity& identity);

// Which of `files` some process of this user, other than this program, has
// open: one pass over /proc/<pid>/fd. A process whose table can't be read
// (gone meanwhile, or not ours to read) counts as holding nothing.
std::set<FileIdentity> FilesHeldByOthers(const std::set<FileIdentity>& files,
                                         const std::string& procRoot = "/proc");

} // namespace kelvane
