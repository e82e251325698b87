// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/ResultMessages.h"

#include "crypto/Translate.h"

namespace kelvane {
namespace {

struct MessageRow {
    CryptResult code;
    const char* text; // %1 is the file's name
};

// "Couldn`t" keeps its grave accent: users and scripts match these texts as they are.
constexpr MessageRow kMessages[] = {
    // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
    // the translation correctly. %1 is the file's name.
    {crOpenFailed, KELVANE_TR_NOOP("Messages", "Couldn`t open file \"%1\".")},
    // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
    // the translation correctly.
    {crCreateFailed, KELVANE_TR_NOOP("Messages", "Couldn`t create new file.")},
    // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
    // the translation correctly. %1 is the file's name.
    {crReadFailed, KELVANE_TR_NOOP("Messages", "Couldn`t read file \"%1\".")},
    {crBadPassword, KELVANE_TR_NOOP("Messages", "Invalid password for the file \"%1\"!")},
    // TRANSLATORS: the English lacks the space after "memory."; the
    // translation has it. %1 is the file's name.
    {crNoMemory, KELVANE_TR_NOOP("Messages", "No memory.File \"%1\" is too big.")},
    {crNotCrypted,
     // TRANSLATORS: the English lacks its full stop; the translation is a
     // whole, correct sentence. %1 is the file's name.
     KELVANE_TR_NOOP("Messages", "Cannot identify a file \"%1\" as a valid crypted file")},
    {crAborted, KELVANE_TR_NOOP("Messages", "You have aborted processing \"%1\".")},
    {crWriteFailed,
     // TRANSLATORS: "have been" stays wrong in English only; write the
     // translation correctly. %1 is the file's name.
     KELVANE_TR_NOOP("Messages", "Processing file \"%1\" have been aborted. Disk is full.")},
    // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
    // the translation correctly. %1 is the file's name.
    {crAgeKeyFailed, KELVANE_TR_NOOP("Messages", "Couldn`t make the key of the age file for "
                                                 "\"%1\". Not enough memory? The file is kept.")},
};

} // namespace

std::optional<std::string> ResultMessageText(CryptResult code, const std::string& fileName) {
    for (const MessageRow& row : kMessages) {
        if (row.code == code)
            return FormatText(Tr("Messages", row.text), {fileName});
    }
    return std::nullopt;
}

} // namespace kelvane
