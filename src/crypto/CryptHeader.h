// SPDX-License-Identifier: GPL-3.0-or-later
// The crypted file's header and key, as bytes in memory.
//
// Layout, integers little-endian:
//   0  4  magic "KZ31"
//   4  4  plain length L, signed
//   8  4  data check: Crc32Of over the L plain bytes
//  12  2  key check: low 16 bits of Crc32Of over the 8 key bytes
//  14  N  ciphertext, N = L + 8 - L mod 8: the plain bytes and 1 to 8 pad
//         bytes, each 8-byte block enciphered on its own under the key
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvane {

constexpr char kCryptMagic[4] = {'K', 'Z', '3', '1'};
constexpr int kCryptMagicAt = 0;
constexpr int kCryptPlainLengthAt = 4;
constexpr int kCryptDataCheckAt = 8;
constexpr int kCryptKeyCheckAt = 12;
constexpr int kCryptHeaderSize = 14;
constexpr int kTransferChunk = 10240;
// The header holds the plain length as a signed 32-bit number.
constexpr int64_t kLargestPlainLength = INT32_MAX;

// The ciphertext's length for `plainLength` plain bytes: always 1 to 8 pad
// bytes, so the last block says where the plain text ends.
constexpr int64_t CipherLengthFor(int64_t plainLength) {
    return plainLength + 8 - plainLength % 8;
}

// The 8-byte key: the password's first bytes (at most 8, ending at a zero
// byte) followed by zeros. The password is Windows-1252 text.
void MakeKey(const std::string& password, uint8_t key[8]);
uint16_t KeyCheckOf(const uint8_t key[8]);

// True when the first bytes are the magic; `size` may be short.
bool StartsWithCryptMagic(const uint8_t* bytes, std::size_t size);

struct CryptHeader {
    bool complete = false; // 14 header bytes present
    bool magicMatches = false;
    int32_t plainLength = 0;
    uint32_t dataCheck = 0;
    uint16_t keyCheck = 0;
    int64_t cipherLength = 0; // file length - 14
    // 0 <= L, the ciphertext a whole number of blocks and longer than L.
    bool WellFormed() const;

    // The fields of the first `size` bytes of a file of `fileLength` bytes;
    // fields beyond `size` read as zero.
    static CryptHeader Parse(const uint8_t* bytes, std::size_t size, int64_t fileLength);
    // The 14 bytes that begin a crypted file with these fields (the magic
    // always).
    void Serialize(uint8_t bytes[kCryptHeaderSize]) const;
};

} // namespace kelvane
