// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/ResultMessages.h"

namespace kelvane {
namespace {

struct MessageRow {
    CryptResult code;
    const char* before; // the whole message when `after` is null
    const char* after;
};

// "Couldn`t" keeps its grave accent: users and scripts match these texts as they are.
constexpr MessageRow kMessages[] = {
    {crOpenFailed, "Couldn`t open file \"", "\"."},
    {crCreateFailed, "Couldn`t create new file.", nullptr},
    {crReadFailed, "Couldn`t read file \"", "\"."},
    {crBadPassword, "Invalid password for the file \"", "\"!"},
    {crNoMemory, "No memory.File \"", "\" is too big."},
    {crNotCrypted, "Cannot identify a file \"", "\" as a valid crypted file"},
    {crAborted, "You have aborted processing \"", "\"."},
    {crWriteFailed, "Processing file \"", "\" have been aborted. Disk is full."},
    {crAgeKeyFailed, "Couldn`t make the key of the age file for \"",
     "\". Not enough memory? The file is kept."},
};

} // namespace

std::optional<std::string> ResultMessageText(CryptResult code, const std::string& fileName) {
    for (const MessageRow& row : kMessages) {
        if (row.code != code)
            continue;
        if (row.after == nullptr)
            return std::string(row.before);
        return row.before + fileName + row.after;
    }
    return std::nullopt;
}

} // namespace kelvane
