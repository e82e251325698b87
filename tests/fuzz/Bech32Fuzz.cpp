// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as a Bech32 string: the decoder must not crash, what
// it accepts must encode back to the very text (in lower case), and the
// same text in upper case must decode to the same.
#include "Bech32Encoder.h"
#include "engine/AgeFormat.h"

#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

std::string Folded(std::string_view text, bool upper) {
    std::string folded(text);
    for (char& c : folded) {
        if (upper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (!upper && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string hrp = "left over";
    std::vector<uint8_t> bytes{1, 2, 3};
    if (!kelvane::age::Bech32Decode(text, hrp, bytes))
        return 0;

    const std::string lower = Folded(text, false);
    Require(!hrp.empty() && hrp == Folded(hrp, false));
    Require(kelvane::fuzzing::Bech32Encode(hrp, bytes) == lower);

    // Only a text all in one case is Bech32; the decoder folds, so the other
    // case decodes alike.
    const std::string other = Folded(text, lower == text);
    std::string otherHrp;
    std::vector<uint8_t> otherBytes;
    Require(kelvane::age::Bech32Decode(other, otherHrp, otherBytes));
    Require(otherHrp == hrp && otherBytes == bytes);

    // A recipient is such a string with the "age" part and 32 bytes.
    kelvane::age::Key32 key{};
    const bool recipient = kelvane::age::ParseRecipient(text, key);
    Require(recipient == (hrp == "age" && bytes.size() == key.size() && lower == text));
    return 0;
}
