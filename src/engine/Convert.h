// SPDX-License-Identifier: GPL-3.0-or-later
// Moving a crypted file to the age format: the .cry is deciphered in pieces
// straight into the age payload, so no plain byte ever reaches a file. The
// age file stays unnamed until the .cry's data check has passed.
#pragma once

#include "engine/AgeFormat.h"
#include "engine/CryptFile.h"

#include <string>
#include <vector>

namespace kelvane {

// Whom the age file is for: a passphrase, or one or more public keys.
struct AgeTarget {
    const std::string* passphrase = nullptr; // UTF-8 as typed; null: recipients
    int workFactor = age::kDefaultWorkFactor;
    std::vector<age::Key32> recipients;
    bool armor = false;
    // At least zero: the age file goes to this descriptor (standard output)
    // as it is made, and the destination path only names it in messages.
    // The final chunk goes out only after the data check, so a reader of a
    // stream whose source failed the check sees a truncated file.
    int outputDescriptor = -1;
};

// Writes the age file `destination` from the crypted file `source`. Results
// as DecryptFile's; nothing is written when the password's key check fails.
CryptResult ConvertToAge(const std::string& source, const std::string& destination,
                         const std::string& password, ProgressBar& fillBar, ProgressBar& drainBar,
                         const CryptHooks& hooks, const AgeTarget& target);

// "notes.txt.cry" to "notes.txt.age"; a name without ".cry" gets ".age" added.
std::string AgeNameOf(const std::string& cryptedPath);

} // namespace kelvane
