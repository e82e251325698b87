// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a whole buffer to a descriptor: a write may take only part of it,
// or be interrupted by a signal before it took anything.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace kelvane {

inline bool WriteAll(int fd, const char* data, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

inline bool PwriteAll(int fd, uint64_t offset, const char* data, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::pwrite(fd, data, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        offset += static_cast<uint64_t>(n);
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace kelvane
