// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileAttributes.h"

#include "platform/Paths.h"

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

bool IsHiddenName(const std::string& name) {
    const std::string last = NamePart(name);
    return last.size() > 1 && last[0] == '.' && last != "..";
}

uint32_t WordOf(const std::string& name, const struct stat& st) {
    uint32_t word = 0;
    if (S_ISDIR(st.st_mode))
        word |= faDirectory;
    else if (S_ISREG(st.st_mode))
        word |= faArchive;
    if ((st.st_mode & S_IWUSR) == 0)
        word |= faReadOnly;
    if (IsHiddenName(name))
        word |= faHidden;
    return word;
}

// The clock the user lives by: a file `ls` shows at 09:30 reads 09:30 here.
void SetLastWriteTime(const struct stat& st, FileInformation& info) {
    struct tm local {};
    const time_t seconds = st.st_mtim.tv_sec;
    if (::localtime_r(&seconds, &local) == nullptr)
        return;
    info.year = local.tm_year + 1900;
    info.month = local.tm_mon + 1;
    info.day = local.tm_mday;
    info.hour = local.tm_hour;
    info.minute = local.tm_min;
    info.second = local.tm_sec;
}

} // namespace

HeldAttributes ReadFileAttributes(const std::string& name) {
    struct stat st {};
    if (name.empty() || ::stat(name.c_str(), &st) != 0)
        return {};
    return AttributesFrom(name, st);
}

HeldAttributes AttributesFrom(const std::string& name, const struct stat& st) {
    return {WordOf(name, st), static_cast<uint32_t>(st.st_mode & 07777)};
}

std::string AttributeText(uint32_t word) {
    std::string text = "----";
    if (word == faInvalid)
        return text;
    if (word & faArchive)
        text[0] = 'A';
    if (word & faHidden)
        text[1] = 'H';
    if (word & faReadOnly)
        text[2] = 'R';
    if (word & faSysFile)
        text[3] = 'S';
    return text;
}

bool ReadFileInformation(const std::string& name, FileInformation& info) {
    return ReadFileInformationAt(AT_FDCWD, name, info);
}

bool ReadFileInformationAt(int folder, const std::string& name, FileInformation& info) {
    // Non-blocking, so a named pipe in the directory can't hang the listing.
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool queried = ::fstat(fd, &st) == 0;
    ::close(fd);
    if (!queried)
        return false;
    info = FileInformation{};
    info.attributes = WordOf(name, st);
    info.size = static_cast<uint64_t>(st.st_size);
    SetLastWriteTime(st, info);
    return true;
}

} // namespace kelvane
