// SPDX-License-Identifier: GPL-3.0-or-later
// A file as the kernel knows it, whatever its names: device and inode.
#pragma once

#include <cstdint>
#include <sys/stat.h>

namespace kelvane {

struct FileNode {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileNode&) const = default;
    bool operator<(const FileNode& other) const {
        return device != other.device ? device < other.device : inode < other.inode;
    }
};

inline FileNode NodeOf(const struct stat& st) {
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

// The open file `fd` is; all zero when it can't be asked.
FileNode IdentityOf(int fd);

} // namespace kelvane
