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

constexpr std::array<uint8_t, 256> MakeLowBytes() {
    std::array<uint8_t, 256> low{};
    for (int i = 0; i < 256; ++i)
        low[i] = static_cast<uint8_t>(kW[i]);
    return low;
}

constexpr std::array<uint8_t, 256> kWLow = MakeLowBytes();
static_assert(kW[0] == 0 && kW[1] == 0x96000000u && kW[2] == 0x30960000u && kW[3] == 0x07309600u &&
              kW[4] == 0x77073096u);

} // namespace

// With crc' = (crc >> 8) xor W(i), the next index is the low byte of W(i)
// xor a byte known one step earlier, so the loop carries only the index
// from byte to byte: one byte load and one xor. The upper bytes of the
// running value follow beside that chain.
uint32_t Crc32Continue(uint32_t crc, const uint8_t* data, std::size_t count) {
    if (count == 0)
        return crc;
    uint32_t index = (crc ^ data[0]) & 0xFF;
    uint32_t high = crc >> 8;
    for (std::size_t n = 1; n < count; ++n) {
        const uint32_t carried = (high ^ data[n]) & 0xFF;
        high = (high ^ kW[index]) >> 8;
        index = kWLow[index] ^ carried;
    }
    return high ^ kW[index];
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
