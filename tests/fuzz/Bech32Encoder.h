// SPDX-License-Identifier: GPL-3.0-or-later
// A Bech32 encoder written apart from the decoder under test, from the
// checksum's definition: the fuzz targets re-encode what was decoded and
// compare, so a decoder that accepts a wrong checksum or stray bits shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::fuzzing {

inline uint32_t Bech32Checksum(const std::vector<uint8_t>& values) {
    uint32_t check = 1;
    for (const uint8_t value : values) {
        const uint32_t top = check >> 25;
        check = (check & 0x1ffffff) << 5 ^ value;
        if (top & 1)
            check ^= 0x3b6a57b2;
        if (top & 2)
            check ^= 0x26508e6d;
        if (top & 4)
            check ^= 0x1ea119fa;
        if (top & 8)
            check ^= 0x3d4233dd;
        if (top & 16)
            check ^= 0x2a1462b3;
    }
    return check;
}

// `hrp` in lower case; the text is in lower case.
inline std::string Bech32Encode(std::string_view hrp, const std::vector<uint8_t>& bytes) {
    static constexpr char kAlphabet[] = "qpzry9x8gf2tvdw0s3jn54khce6mua7l";
    std::vector<uint8_t> data;
    uint32_t bits = 0;
    int count = 0;
    for (const uint8_t byte : bytes) {
        bits = bits << 8 | byte;
        count += 8;
        while (count >= 5) {
            count -= 5;
            data.push_back(static_cast<uint8_t>(bits >> count & 31));
        }
    }
    if (count > 0)
        data.push_back(static_cast<uint8_t>(bits << (5 - count) & 31));

    std::vector<uint8_t> values;
    for (const char c : hrp)
        values.push_back(static_cast<uint8_t>(static_cast<unsigned char>(c) >> 5));
    values.push_back(0);
    for (const char c : hrp)
        values.push_back(static_cast<uint8_t>(c & 31));
    values.insert(values.end(), data.begin(), data.end());
    values.insert(values.end(), 6, 0);
    const uint32_t checksum = Bech32Checksum(values) ^ 1;

    std::string text(hrp);
    text += '1';
    for (const uint8_t value : data)
        text += kAlphabet[value];
    for (int i = 0; i < 6; ++i)
        text += kAlphabet[checksum >> (5 * (5 - i)) & 31];
    return text;
}

} // namespace kelvane::fuzzing
