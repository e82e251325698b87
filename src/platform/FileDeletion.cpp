// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileDeletion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

bool LookUp(const std::string& name, struct stat& st) {
    return !name.empty() && ::lstat(name.c_str(), &st) == 0;
}

} // namespace

HeldAttributes ReadEntryAttributes(const std::string& name) {
    struct stat st {};
    if (!LookUp(name, st))
        return {};
    if (S_ISLNK(st.st_mode))
        return {faArchive, 0};
    HeldAttributes held = ReadFileAttributes(name);
    // Read from the entry, so a link swapped in between can't lend its
    // target's mode.
    held.permissions = static_cast<uint32_t>(st.st_mode & 07777);
    if (!held.Valid())
        return {};
    if ((st.st_mode & S_IWUSR) == 0)
        held.word |= faReadOnly;
    else
        held.word &= ~faReadOnly;
    return held;
}

bool DeleteFileEntry(const std::string& name) {
    // unlink refuses folders by itself and removes a link, not its target.
    return !name.empty() && ::unlink(name.c_str()) == 0;
}

} // namespace kelvane
