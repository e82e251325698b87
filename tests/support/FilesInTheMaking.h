// SPDX-License-Identifier: GPL-3.0-or-later
// What a run is writing before its result has a name: the unnamed files the
// process holds open in a directory, and the named temporaries in it.
#pragma once

#include "crypto/CryptNames.h"
#include "platform/FileAccess.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelvane::testing_support {

inline unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Open file descriptors of this process whose file lives unnamed in `directory`.
inline std::vector<std::string> UnnamedFilesIn(const std::string& directory) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        char target[4096];
        const ssize_t n = ::readlink(entry.path().c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        const std::string text(target, static_cast<std::size_t>(n));
        const std::string deleted = " (deleted)";
        if (text.rfind(directory + "/#", 0) == 0 && text.size() > deleted.size() &&
            text.compare(text.size() - deleted.size(), deleted.size(), deleted) == 0)
            found.push_back(entry.path().string());
    }
    return found;
}

inline std::vector<std::string> TemporariesIn(const std::string& directory) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (IsTemporaryName(entry.path().filename().string()))
            found.push_back(entry.path().string());
    return found;
}

// The modes of every file being made in `directory`, named or not.
inline std::vector<unsigned> ModesOfFilesInTheMaking(const std::string& directory) {
    std::vector<unsigned> modes;
    for (const std::string& path : UnnamedFilesIn(directory))
        modes.push_back(ModeOf(path));
    for (const std::string& path : TemporariesIn(directory))
        modes.push_back(ModeOf(path));
    return modes;
}

} // namespace kelvane::testing_support
