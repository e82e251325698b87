// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Utf16.h"

namespace kelvane {
namespace {

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUnit(std::vector<uint8_t>& out, uint32_t unit) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

} // namespace

std::string Utf16LeToUtf8(const uint8_t* data, std::size_t size) {
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        uint32_t unit = uint32_t{data[i]} | uint32_t{data[i + 1]} << 8;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < size) {
            const uint32_t low = uint32_t{data[i + 2]} | uint32_t{data[i + 3]} << 8;
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(out, unit);
    }
    return out;
}

void AppendUtf8Of(std::u16string_view text, std::string& out) {
    out.reserve(out.size() + 3 * text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            unit = 0x10000 + ((unit - 0xD800) << 10) + (uint32_t{text[++i]} - 0xDC00);
        AppendUtf8(out, unit);
    }
}

std::vector<uint8_t> Utf8ToUtf16Le(std::string_view text) {
    std::vector<uint8_t> out;
    out.reserve(2 * text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        uint32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            AppendUnit(out, 0xD800 + ((code >> 10) & 0x3FF));
            AppendUnit(out, 0xDC00 + (code & 0x3FF));
        } else {
            AppendUnit(out, code);
        }
    }
    return out;
}

} // namespace kelvane
