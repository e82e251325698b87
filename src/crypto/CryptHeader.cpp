// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/CryptHeader.h"

#include "crypto/Crc32.h"
#include "crypto/Endian.h"

#include <algorithm>
#include <cstring>

namespace kelvane {

void MakeKey(const std::string& password, uint8_t key[8]) {
    std::memset(key, 0, 8);
    for (std::size_t i = 0; i < 8 && i < password.size() && password[i] != '\0'; ++i)
        key[i] = static_cast<uint8_t>(password[i]);
}

uint16_t KeyCheckOf(const uint8_t key[8]) {
    return static_cast<uint16_t>(Crc32Of(key, 8));
}

bool StartsWithCryptMagic(const uint8_t* bytes, std::size_t size) {
    return size >= sizeof kCryptMagic &&
           std::memcmp(bytes + kCryptMagicAt, kCryptMagic, sizeof kCryptMagic) == 0;
}

bool CryptHeader::WellFormed() const {
    return complete && magicMatches && plainLength >= 0 && cipherLength % 8 == 0 &&
           cipherLength > plainLength;
}

CryptHeader CryptHeader::Parse(const uint8_t* bytes, std::size_t size, int64_t fileLength) {
    uint8_t whole[kCryptHeaderSize] = {};
    std::memcpy(whole, bytes, std::min<std::size_t>(size, kCryptHeaderSize));
    CryptHeader header;
    header.magicMatches = StartsWithCryptMagic(bytes, size);
    header.complete = size >= kCryptHeaderSize;
    header.plainLength = static_cast<int32_t>(load32_le(whole + kCryptPlainLengthAt));
    header.dataCheck = load32_le(whole + kCryptDataCheckAt);
    header.keyCheck = load16_le(whole + kCryptKeyCheckAt);
    header.cipherLength = std::max<int64_t>(fileLength - kCryptHeaderSize, 0);
    return header;
}

void CryptHeader::Serialize(uint8_t bytes[kCryptHeaderSize]) const {
    std::memcpy(bytes + kCryptMagicAt, kCryptMagic, sizeof kCryptMagic);
    store32_le(bytes + kCryptPlainLengthAt, static_cast<uint32_t>(plainLength));
    store32_le(bytes + kCryptDataCheckAt, dataCheck);
    store16_le(bytes + kCryptKeyCheckAt, keyCheck);
}

} // namespace kelvane
