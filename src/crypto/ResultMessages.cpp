// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/ResultMessages.h"

#include "crypto/Translate.h"

namespace kelvane {
namespace {

// "Couldn`t" keeps its grave accent: users and scripts match these texts as
// they are. %1 is the file's name.
const char* ClassicText(CryptResult code) {
    switch (code) {
    case crOk:
    case crDestinationExists:
    case crUnconfirmed:
        return nullptr; // the front ends put these in their own words
    case crOpenFailed:
        // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
        // the translation correctly. %1 is the file's name.
        return KELVANE_TR_NOOP("Messages", "Couldn`t open file \"%1\".");
    case crCreateFailed:
        // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
        // the translation correctly.
        return KELVANE_TR_NOOP("Messages", "Couldn`t create new file.");
    case crReadFailed:
        // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
        // the translation correctly. %1 is the file's name.
        return KELVANE_TR_NOOP("Messages", "Couldn`t read file \"%1\".");
    case crBadPassword:
        return KELVANE_TR_NOOP("Messages", "Invalid password for the file \"%1\"!");
    case crNoMemory:
        // TRANSLATORS: the English lacks the space after "memory."; the
        // translation has it. %1 is the file's name.
        return KELVANE_TR_NOOP("Messages", "No memory.File \"%1\" is too big.");
    case crNotCrypted:
        // TRANSLATORS: the English lacks its full stop; the translation is a
        // whole, correct sentence. %1 is the file's name.
        return KELVANE_TR_NOOP("Messages", "Cannot identify a file \"%1\" as a valid crypted file");
    case crAborted:
        return KELVANE_TR_NOOP("Messages", "You have aborted processing \"%1\".");
    case crWriteFailed:
        // TRANSLATORS: "have been" stays wrong in English only; write the
        // translation correctly. %1 is the file's name.
        return KELVANE_TR_NOOP("Messages",
                               "Processing file \"%1\" have been aborted. Disk is full.");
    case crAgeKeyFailed:
        // TRANSLATORS: "Couldn`t" keeps its grave accent in English only; write
        // the translation correctly. %1 is the file's name.
        return KELVANE_TR_NOOP("Messages", "Couldn`t make the key of the age file for "
                                           "\"%1\". Not enough memory? The file is kept.");
    }
    return nullptr;
}

} // namespace

std::optional<std::string> ResultMessageText(CryptResult code, const std::string& fileName) {
    const char* text = ClassicText(code);
    if (text == nullptr)
        return std::nullopt;
    return FormatText(Tr("Messages", text), {fileName});
}

} // namespace kelvane
