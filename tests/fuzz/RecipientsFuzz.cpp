// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as a recipients file: the reader must not crash, and
// what it accepts must be one key for each line that is neither blank nor a
// comment, each spelled on its line; what it refuses it must say why, with
// the file's name.
#include "Bech32Encoder.h"
#include "engine/AgeFormat.h"

#include <cstdlib>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

// The lines that ought to hold a recipient, trimmed as the reader trims.
std::vector<std::string_view> RecipientLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        if (line[0] != '#')
            lines.push_back(line);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool ready = kelvane::age::CryptoReady();
    Require(ready);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<kelvane::age::Key32> recipients;
    std::string problem;
    const bool ok = kelvane::age::ParseRecipients(text, "fuzz.txt", recipients, problem);
    if (!ok) {
        Require(problem.find("\"fuzz.txt\"") != std::string::npos);
        return 0;
    }
    Require(problem.empty());
    const std::vector<std::string_view> lines = RecipientLines(text);
    Require(!recipients.empty() && recipients.size() == lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Require(lines[i].size() <= 4096);
        const std::vector<uint8_t> key(recipients[i].begin(), recipients[i].end());
        Require(kelvane::fuzzing::Bech32Encode("age", key) == lines[i]);
        Require(!kelvane::age::LowOrderKey(recipients[i]));
    }
    return 0;
}
