// SPDX-License-Identifier: GPL-3.0-or-later
// How a crypted file is named: the plain name with ".cry" appended, in the
// same directory. The window and kelvane-cli both name files through these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr std::string_view kCryExtension = ".cry";

// True when the last component's extension (from its last "." on) is ".cry"
// in any mix of case: "A.CRY" and ".cry" are crypted names, "a.cryx" is not.
bool HasCryExtension(std::string_view name);

// "notes.txt" -> "notes.txt.cry", always lower case.
std::string EncryptedNameOf(std::string_view plainName);

// "dir/Notes.CrY" -> "dir/Notes"; nothing when the name has no ".cry"
// extension or nothing would be left of its last component.
std::optional<std::string> DecryptedNameOf(std::string_view cryptedName);

// The name with a ".cry" extension taken off, and unchanged without one;
// unlike DecryptedNameOf, ".cry" alone becomes the empty name.
std::string WithoutCryExtension(std::string_view name);

// A crypted file's name as the crypted list shows it: with its extension
// only when the user asked to see extensions.
std::string ListedCryptedName(std::string_view cryptedName, bool showExtension);

// What the user reads when the new file's name would exceed what a file
// system takes; the two sentences are joined by `separator`.
std::string NameTooLongText(std::string_view newName, std::string_view separator);

// The program's own temporaries, beside the file they are to become:
// ".<name, at most 200 bytes>.<process id>.<16 hex digits>.kelvane-tmp".
// Walks, lists and commands pass them over; they are never a user's file.
std::string TemporaryNameFor(std::string_view baseName, long processId, std::string_view randomHex);
// The leading part every temporary of `baseName` shares.
std::string TemporaryPrefixOf(std::string_view baseName);
// The process id inside a temporary's name; 0 when the name is not one.
long TemporaryOwnerOf(std::string_view name);
bool IsTemporaryName(std::string_view name);

} // namespace kelvane
