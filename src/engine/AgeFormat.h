// SPDX-License-Identifier: GPL-3.0-or-later
// The age file format (version 1): the header that carries the file key for
// its recipients, the text encodings it uses, and the key derivations. Every
// cryptographic primitive comes from libsodium; only the layout is ours.
#pragma once

#include "crypto/Secret.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::age {

constexpr std::size_t kFileKeySize = 16;
constexpr std::size_t kKeySize = 32;
constexpr std::size_t kSaltSize = 16;
constexpr std::size_t kPayloadNonceSize = 16;
constexpr int kDefaultWorkFactor = 18;
// The `age` command refuses to open a passphrase file whose work factor is
// above this; a larger one would lock the owner out of their own file.
constexpr int kLargestWorkFactor = 22;

using Key32 = std::array<uint8_t, kKeySize>;

// Calls libsodium's start-up once; false when it can't run on this machine.
bool CryptoReady();

using FileKey = SecretBytes<kFileKeySize>;

void RandomBytes(uint8_t* out, std::size_t size);

// Standard base64 without "=" padding, as the header writes it.
std::string Base64Unpadded(const uint8_t* data, std::size_t size);
// Standard base64 with padding, as the armor writes it.
std::string Base64Padded(const uint8_t* data, std::size_t size);

// Decodes a Bech32 string (either all lower or all upper case, checksum over
// the lower case, no length limit); false when it is not one.
bool Bech32Decode(std::string_view text, std::string& hrp, std::vector<uint8_t>& data);
// An X25519 recipient "age1..." to its public key; false when it is not one.
bool ParseRecipient(std::string_view text, Key32& publicKey);

// True for a public key of low order, the all-zero key among them: the
// secret shared with it is all zeros whatever the other secret, so a file
// for it would be open to anyone.
bool LowOrderKey(const Key32& publicKey);

// Reads a recipients file: one recipient a line, "#" comments and empty
// lines passed over. False with a reason in `problem` for anything else,
// a key of low order and a file that is not a regular one of at most 1 MiB
// with lines of at most 4 KiB included.
bool ReadRecipientsFile(const std::string& path, std::vector<Key32>& recipients,
                        std::string& problem);
// The lines of a recipients file already read, by the same rules; `name`
// is the file's as the problems quote it.
bool ParseRecipients(std::string_view text, std::string_view name, std::vector<Key32>& recipients,
                     std::string& problem);

// HKDF-SHA-256 with a 32-byte output, on libsodium's HMAC.
void HkdfSha256(const uint8_t* ikm, std::size_t ikmSize, const uint8_t* salt, std::size_t saltSize,
                std::string_view info, uint8_t out[kKeySize]);

struct Stanza {
    std::vector<std::string> arguments;
    std::vector<uint8_t> body;
};

// The file key wrapped under a passphrase. False when scrypt could not get
// the memory it needs.
bool ScryptStanza(const FileKey& fileKey, std::string_view passphrase,
                  const uint8_t salt[kSaltSize], int workFactor, Stanza& stanza);
// The file key wrapped for a public key with a fresh ephemeral secret.
// False for a public key of low order (no shared secret).
bool X25519Stanza(const FileKey& fileKey, const Key32& recipient,
                  const uint8_t ephemeralSecret[kKeySize], Stanza& stanza);

// The whole header text, from the version line to the MAC line's end.
std::string HeaderText(const FileKey& fileKey, const std::vector<Stanza>& stanzas);

// Where encoded bytes go; false when they could not be written.
using ByteSink = std::function<bool(const uint8_t*, std::size_t)>;

// The ASCII armor around an age file: base64 lines of 64 columns between
// the BEGIN and END lines, streamed.
class ArmorWriter {
public:
    explicit ArmorWriter(ByteSink out) : out_(std::move(out)) {}
    bool Write(const uint8_t* data, std::size_t size);
    bool Finish();

private:
    static constexpr std::size_t kLineBytes = 48; // 64 base64 columns
    bool Start();
    bool EmitLines(const uint8_t* data, std::size_t lines);

    ByteSink out_;
    bool started_ = false;
    std::array<uint8_t, kLineBytes> pending_{};
    std::size_t pendingSize_ = 0;
};

} // namespace kelvane::age
