// SPDX-License-Identifier: GPL-3.0-or-later
// File attributes as the program reasons about them (archive, hidden,
// read-only, system), mapped onto POSIX:
//   R  the owner lacks write permission
//   H  the name begins with "."
//   S  never
//   A  every regular file
// A source's attributes are only ever read: reading and deleting a file need
// no write permission on it, so its mode is never changed. A new file gets
// the source's permission bits when it is created (see FileSafety.h).
#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace kelvane {

inline constexpr uint32_t faReadOnly = 0x01;
inline constexpr uint32_t faHidden = 0x02;
inline constexpr uint32_t faSysFile = 0x04;
inline constexpr uint32_t faDirectory = 0x10;
inline constexpr uint32_t faArchive = 0x20;
inline constexpr uint32_t faInvalid = 0xFFFFFFFF; // the name could not be looked up

// A file's attributes as a command reads them before it asks the user.
struct HeldAttributes {
    uint32_t word = faInvalid;
    uint32_t permissions = 0; // the mode's permission bits behind the word

    bool Valid() const { return word != faInvalid; }
    bool Has(uint32_t attribute) const { return Valid() && (word & attribute) != 0; }
};

// Follows symbolic links; faInvalid when the name does not exist.
HeldAttributes ReadFileAttributes(const std::string& name);
// The same from a look the caller took itself.
HeldAttributes AttributesFrom(const std::string& name, const struct stat& st);

// "----" with A, H, R, S at positions 1 to 4 for the attributes set.
std::string AttributeText(uint32_t word);

// Size, attributes and last-write time of a file, read from an open handle
// the way the file lists show them.
struct FileInformation {
    uint32_t attributes = faInvalid;
    uint64_t size = 0;
    // Last-write time in local time, calendar fields.
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Opens the file for reading (never blocking, never denying other programs)
// and reads its information; false when it cannot be opened or queried.
bool ReadFileInformation(const std::string& name, FileInformation& info);
// The same for `name` in the open folder `folder`.
bool ReadFileInformationAt(int folder, const std::string& name, FileInformation& info);

} // namespace kelvane
