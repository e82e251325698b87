// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/Translate.h"

#include <atomic>

namespace kelvane {
namespace {

// Worker threads format messages too; the hook is set before they start, and
// the atomic makes that order visible to them.
std::atomic<TranslateHook> g_hook{nullptr};

} // namespace

void SetTranslateHook(TranslateHook hook) noexcept {
    g_hook.store(hook, std::memory_order_release);
}

std::string Tr(const char* context, const char* text) {
    TranslateHook hook = g_hook.load(std::memory_order_acquire);
    return hook != nullptr ? hook(context, text) : std::string(text);
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(pattern.size() + 64);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const bool numbered =
            c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9';
        const std::size_t index = numbered ? static_cast<std::size_t>(pattern[i + 1] - '1') : 0;
        if (numbered && index < values.size()) {
            out += *(values.begin() + index);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace kelvane
