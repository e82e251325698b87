// Arbitrary bytes read as a registry file: reading must not crash, and what
// it keeps must come back unchanged after a save, with the saved text stable.
#include "platform/RegistryDocument.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kelvane::RegistryDocument document = kelvane::RegistryDocument::Parse(text);
    const std::string saved = document.Serialize();
    const kelvane::RegistryDocument reread = kelvane::RegistryDocument::Parse(saved);
    if (!(reread.Keys() == document.Keys()) || reread.Serialize() != saved)
        std::abort();
    for (const auto& key : document.Keys()) {
        if (!document.HasKey(key.path))
            std::abort();
        for (const auto& entry : key.entries)
            if (document.Find(key.path, entry.name) != &entry.value)
                std::abort();
    }
    return 0;
}
