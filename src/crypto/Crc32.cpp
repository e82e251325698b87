#include "crypto/Crc32.h"

namespace kelvane {
namespace {

constexpr std::array<uint32_t, 256> MakeReflectedTable() {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t v = n;
        for (int i = 0; i < 8; ++i)
            v = (v & 1) ? (v >> 1) ^ 0xEDB88320u : v >> 1;
        t[n] = v;
    }
    return t;
}

// Reads the table as its little-endian byte image, four bytes from offset i.
// Index 255 reads bytes 255..258, all inside the image.
constexpr std::array<uint32_t, 256> MakeTableWords() {
    constexpr auto t = MakeReflectedTable();
    std::array<uint8_t, 1024> image{};
    for (int n = 0; n < 256; ++n)
        for (int b = 0; b < 4; ++b)
            image[4 * n + b] = static_cast<uint8_t>(t[n] >> (8 * b));
    std::array<uint32_t, 256> w{};
    for (int i = 0; i < 256; ++i)
        w[i] = uint32_t{image[i]} | uint32_t{image[i + 1]} << 8 | uint32_t{image[i + 2]} << 16 |
               uint32_t{image[i + 3]} << 24;
    return w;
}

constexpr std::array<uint32_t, 256> kW = MakeTableWords();
static_assert(kW[0] == 0 && kW[1] == 0x96000000u && kW[2] == 0x30960000u && kW[3] == 0x07309600u &&
              kW[4] == 0x77073096u);

} // namespace

uint32_t Crc32Continue(uint32_t crc, const uint8_t* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        crc = (crc >> 8) ^ kW[(crc ^ data[i]) & 0xFF];
    return crc;
}

uint32_t Crc32Of(const void* data, uint32_t count) {
    if (data == nullptr || count == 0)
        return 0;
    return Crc32Continue(0, static_cast<const uint8_t*>(data), count);
}

uint32_t Crc32TableWord(int i) {
    return kW[static_cast<std::size_t>(i) & 0xFF];
}

} // namespace kelvane
