// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Paths.h"

#include "platform/HomeDirectory.h"

#include <cstdlib>
#include <memory>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace kelvane {
namespace {

std::size_t AfterLastSeparator(std::string_view path) {
    const std::size_t slash = path.rfind(kPathSeparator);
    return slash == std::string_view::npos ? 0 : slash + 1;
}

} // namespace

std::string DirectoryPart(std::string_view path) {
    return std::string(path.substr(0, AfterLastSeparator(path)));
}

std::string NamePart(std::string_view path) {
    return std::string(path.substr(AfterLastSeparator(path)));
}

std::string ExtensionOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < AfterLastSeparator(path))
        return {};
    return std::string(path.substr(dot));
}

bool IsRootDirectory(std::string_view path) {
    return !path.empty() && path.find_first_not_of(kPathSeparator) == std::string_view::npos;
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    if (directory.empty())
        return std::string(name);
    std::string joined(directory);
    if (joined.back() != kPathSeparator)
        joined += kPathSeparator;
    while (!name.empty() && name.front() == kPathSeparator)
        name.remove_prefix(1);
    return joined.append(name);
}

bool NameTooLong(std::string_view path) {
    return path.size() - AfterLastSeparator(path) > kMaxNameBytes;
}

std::string CurrentDirectory() {
    // Allocated by the C library to the length it needs.
    std::unique_ptr<char, decltype(&std::free)> path(::getcwd(nullptr, 0), &std::free);
    return path != nullptr ? std::string(path.get()) : std::string();
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || entry.pw_dir == nullptr)
        return "";
    return entry.pw_dir;
}

} // namespace kelvane
