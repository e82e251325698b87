// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MessageCatalogue.h"

#include "crypto/Translate.h"

#include <algorithm>
#include <clocale>
#include <cstring>
#include <libintl.h>
#include <mutex>
#include <string>
#include <unistd.h>

namespace kelvane::cli {
namespace {

constexpr char kDomain[] = "kelvane-cli";

// The folder of the running program, from the kernel: argv[0] may be a
// bare name found on PATH, or a link.
std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return {};
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/'));
}

// Binds the catalogue on the first text asked for: a run that prints
// nothing asks the kernel nothing about where the program lies.
void BindCatalogue() {
    static std::once_flag bound;
    std::call_once(bound, [] {
        const std::string folder = ProgramFolder();
        if (!folder.empty())
            ::bindtextdomain(kDomain, (folder + "/../share/locale").c_str());
        ::bind_textdomain_codeset(kDomain, "UTF-8");
    });
}

// gettext's convention for a text with a context: both in one key, joined
// by EOT, as msgfmt stores a message with its msgctxt. The workers' messages
// come here too: glibc's dgettext is safe from any thread once the domain
// is bound, the binding happens once before any of them looks, and nothing
// binds it again.
std::string CatalogueText(const char* context, const char* text) {
    BindCatalogue();
    const std::string key = std::string(context) + '\004' + text;
    const char* found = ::dgettext(kDomain, key.c_str());
    return std::strcmp(found, key.c_str()) == 0 ? std::string(text) : std::string(found);
}

} // namespace

void UseMessageCatalogue() {
    // At start, before any thread. An unknown locale leaves C: English.
    static_cast<void>(std::setlocale(LC_MESSAGES, "")); // NOLINT(concurrency-mt-unsafe)
    static_cast<void>(std::setlocale(LC_CTYPE, ""));    // NOLINT(concurrency-mt-unsafe)
    SetTranslateHook(CatalogueText);
}

std::size_t TextColumns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace kelvane::cli
