// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/ShortPath.h"

#include <vector>

namespace kelvane {

std::string MinimizePath(const std::string& path, int maxWidth, const TextWidth& widthOf) {
    if (path.empty() || widthOf(path) <= maxWidth)
        return path;

    std::vector<std::string> folders;
    const bool rooted = path.front() == '/';
    std::size_t start = rooted ? 1 : 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start)
            folders.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    if (folders.empty())
        return path; // the root itself
    std::string name = folders.back();
    folders.pop_back();

    const std::string root = rooted ? "/" : "";
    std::string candidate;
    for (std::size_t cut = 1; cut <= folders.size(); ++cut) {
        candidate = root + ".../";
        for (std::size_t i = cut; i < folders.size(); ++i)
            candidate += folders[i] + "/";
        candidate += name;
        if (widthOf(candidate) <= maxWidth)
            return candidate;
    }
    if (!folders.empty()) {
        candidate = ".../" + name;
        if (widthOf(candidate) <= maxWidth)
            return candidate;
    }
    return name;
}

} // namespace kelvane
