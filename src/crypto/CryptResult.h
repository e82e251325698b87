// SPDX-License-Identifier: GPL-3.0-or-later
// What a run of the engine ends in. The front ends turn a code into the
// user's message (ResultMessages) or an exit status.
#pragma once

#include <cstdint>

namespace kelvane {

// An enumeration, so that a switch over it that leaves a code out does not
// compile: no front end can meet a result it has no words for. The values
// are the classic codes.
enum CryptResult : int32_t {
    crOk = 0,
    crOpenFailed = -2,
    crCreateFailed = -9,
    crReadFailed = -10,
    crBadPassword = -11,
    crNoMemory = -12,
    crNotCrypted = -13,
    crAborted = -14,
    crWriteFailed = -15,
    // Beyond the classic codes, for the two ends of a run the front ends
    // report in their own words: a file of the destination's name appeared
    // during the run and was kept (the source stays too); the destination is
    // in place but the disk did not confirm it (keep the source).
    crDestinationExists = -20,
    crUnconfirmed = -21,
    // A conversion to age: the passphrase stanza could not get the memory its
    // key derivation needs, or a recipient is not a usable key.
    crAgeKeyFailed = -30,
};

// Every failure a run can end in; the front ends have words for each.
constexpr CryptResult kFailureResults[] = {
    crOpenFailed, crCreateFailed, crReadFailed,        crBadPassword, crNoMemory,     crNotCrypted,
    crAborted,    crWriteFailed,  crDestinationExists, crUnconfirmed, crAgeKeyFailed,
};

} // namespace kelvane
