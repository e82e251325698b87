// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as a registry file: reading must not crash, a save of
// what was read gives back the very bytes read (UTF-16 files re-encoded), and
// setting a value changes that value and keeps every other one.
#include "platform/RegistryDocument.h"

#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kelvane::RegistryDocument document = kelvane::RegistryDocument::Parse(text);
    const std::string saved = document.Serialize();
    const bool utf16 = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    Check(utf16 || size == 0 || saved == text);
    const kelvane::RegistryDocument reread = kelvane::RegistryDocument::Parse(saved);
    Check(reread.Keys() == document.Keys() && reread.Serialize() == saved);
    for (const auto& key : document.Keys()) {
        Check(document.HasKey(key.path));
        for (const auto& entry : key.entries)
            Check(document.Find(key.path, entry.name) == &entry.value);
    }

    kelvane::RegistryDocument changed = document;
    changed.Set("crypt file\\Settings\\Options", "ShowCry", kelvane::RegValue::Integer(7));
    const kelvane::RegistryDocument after = kelvane::RegistryDocument::Parse(changed.Serialize());
    const kelvane::RegValue* value = after.Find("crypt file\\Settings\\Options", "ShowCry");
    Check(value != nullptr && *value == kelvane::RegValue::Integer(7));
    if (!document.IsRegistryText())
        return 0; // a text that was no registry file is started afresh
    for (const auto& key : document.Keys())
        for (const auto& entry : key.entries) {
            const kelvane::RegValue* kept = after.Find(key.path, entry.name);
            Check(kept != nullptr);
            Check(*kept == entry.value || value == kept);
        }
    return 0;
}
