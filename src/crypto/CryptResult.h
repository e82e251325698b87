// SPDX-License-Identifier: GPL-3.0-or-later
// What a run of the engine ends in. The front ends turn a code into the
// user's message (ResultMessages) or an exit status.
#pragma once

#include <cstdint>

namespace kelvane {

using CryptResult = int32_t;

constexpr CryptResult crOk = 0;
constexpr CryptResult crOpenFailed = -2;
constexpr CryptResult crCreateFailed = -9;
constexpr CryptResult crReadFailed = -10;
constexpr CryptResult crBadPassword = -11;
constexpr CryptResult crNoMemory = -12;
constexpr CryptResult crNotCrypted = -13;
constexpr CryptResult crAborted = -14;
constexpr CryptResult crWriteFailed = -15;
// Beyond the classic codes, for the two ends of a run the front ends report
// in their own words: a file of the destination's name appeared during the
// run and was kept (the source stays too); the destination is in place but
// the disk did not confirm it (keep the source).
constexpr CryptResult crDestinationExists = -20;
constexpr CryptResult crUnconfirmed = -21;
// A conversion to age: the passphrase stanza could not get the memory its
// key derivation needs, or a recipient is not a usable key.
constexpr CryptResult crAgeKeyFailed = -30;

// Every failure a run can end in; the front ends have words for each.
constexpr CryptResult kFailureResults[] = {
    crOpenFailed, crCreateFailed, crReadFailed,        crBadPassword, crNoMemory,     crNotCrypted,
    crAborted,    crWriteFailed,  crDestinationExists, crUnconfirmed, crAgeKeyFailed,
};

} // namespace kelvane
