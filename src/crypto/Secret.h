// SPDX-License-Identifier: GPL-3.0-or-later
// The one home of the program's secrets in memory: passwords and passphrases
// in SecretString, keys in SecretBytes. Both overwrite all their room with
// zeros when they are wiped or go away, and neither can be copied by accident.
#pragma once

#include "crypto/SecureWipe.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace kelvane {

// Room for the longest password line kelvane-cli reads, with its line end.
inline constexpr std::size_t kSecretRoom = 1026;

// A password or passphrase. Its room is taken once, before any secret is in
// it, so text written within the room never moves and leaves no copy behind;
// a wipe covers the whole room, not only the part in use, since a shorter
// text may have overwritten a longer one.
class SecretString {
public:
    SecretString() { text_.reserve(kSecretRoom); }
    ~SecretString() { Wipe(); }
    SecretString(const SecretString&) = delete;
    SecretString& operator=(const SecretString&) = delete;
    // A move takes the other's room whole; the room given up is wiped first.
    SecretString(SecretString&& other) noexcept : text_(std::move(other.text_)) {}
    SecretString& operator=(SecretString&& other) noexcept;

    // Wipes what was there and takes `text`, which must fit the room.
    SecretString& operator=(std::string_view text);

    // For writers that stay within the room (a line read with a limit, a
    // password of at most 8 characters converted in place).
    std::string& Text() { return text_; }
    const std::string& Text() const { return text_; }

    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size(); }
    const char* data() const { return text_.data(); }
    bool operator==(std::string_view text) const { return text_ == text; }

    void Wipe();

private:
    std::string text_;
};

// A key or key schedule of N bytes, wiped when it goes away.
template <std::size_t N> struct SecretBytes {
    std::array<uint8_t, N> bytes{};
    SecretBytes() = default;
    ~SecretBytes() { SecureWipe(bytes.data(), N); }
    SecretBytes(const SecretBytes& other) : bytes(other.bytes) {}
    SecretBytes& operator=(const SecretBytes&) = delete;
    uint8_t* data() { return bytes.data(); }
    const uint8_t* data() const { return bytes.data(); }
    static constexpr std::size_t size() { return N; }
};

} // namespace kelvane
