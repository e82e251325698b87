// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/CryptNames.h"

#include "crypto/AsciiCase.h"
#include "crypto/Translate.h"

#include <charconv>
#include <cstdlib>
#include <system_error>

namespace kelvane {
namespace {

std::string_view LastComponent(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

constexpr std::string_view kTemporaryEnding = ".kelvane-tmp";
constexpr std::size_t kRandomDigits = 16;
// Shortened so a destination of the longest name still has a temporary name
// the file system takes.
constexpr std::size_t kTemporaryBaseLength = 200;

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

// The extension holds no slash, so a name that ends in it has it in its
// last component: no need to look for that component, which a folder of
// 100,000 files did two or three times for each name as the window started.
bool HasCryExtension(std::string_view name) {
    if (name.size() < kCryExtension.size())
        return false;
    const std::string_view end = name.substr(name.size() - kCryExtension.size());
    for (std::size_t i = 0; i < kCryExtension.size(); ++i) {
        if (AsciiLower(end[i]) != kCryExtension[i])
            return false;
    }
    return true;
}

std::string EncryptedNameOf(std::string_view plainName) {
    std::string name(plainName);
    name += kCryExtension;
    return name;
}

std::optional<std::string> DecryptedNameOf(std::string_view cryptedName) {
    if (!HasCryExtension(cryptedName) || LastComponent(cryptedName).size() <= kCryExtension.size())
        return std::nullopt;
    return WithoutCryExtension(cryptedName);
}

std::string WithoutCryExtension(std::string_view name) {
    if (!HasCryExtension(name))
        return std::string(name);
    return std::string(name.substr(0, name.size() - kCryExtension.size()));
}

std::string ListedCryptedName(std::string_view cryptedName, bool showExtension) {
    return showExtension ? std::string(cryptedName) : WithoutCryExtension(cryptedName);
}

std::string NameTooLongText(std::string_view newName, std::string_view separator) {
    // The separator is a space or a line break, as the place that shows the text needs.
    return FormatText(
        // TRANSLATORS: %1 is the new file's name, %2 a space or a line break.
        Tr("Messages", "Cannot generate crypted file \"%1\".%2File name is too long."),
        {newName, separator});
}

std::string TemporaryPrefixOf(std::string_view baseName) {
    std::string prefix = ".";
    prefix += baseName.substr(0, kTemporaryBaseLength);
    prefix += ".";
    return prefix;
}

std::string TemporaryNameFor(std::string_view baseName, long processId,
                             std::string_view randomHex) {
    std::string name = TemporaryPrefixOf(baseName) + std::to_string(processId) + ".";
    name += randomHex;
    name += kTemporaryEnding;
    return name;
}

long TemporaryOwnerOf(std::string_view name) {
    if (name.size() < kTemporaryEnding.size() + 20 || name[0] != '.' ||
        !name.ends_with(kTemporaryEnding))
        return 0;
    const std::string_view middle = name.substr(0, name.size() - kTemporaryEnding.size());
    const std::size_t randomDot = middle.rfind('.');
    if (randomDot == std::string_view::npos || middle.size() - randomDot != kRandomDigits + 1)
        return 0;
    const std::size_t pidDot = middle.rfind('.', randomDot - 1);
    if (pidDot == std::string_view::npos || pidDot == 0)
        return 0;
    const std::string pid(middle.substr(pidDot + 1, randomDot - pidDot - 1));
    long value = 0;
    if (!AllDigits(pid) || pid.size() >= 10 ||
        std::from_chars(pid.data(), pid.data() + pid.size(), value).ec != std::errc())
        return 0;
    return value;
}

bool IsTemporaryName(std::string_view name) {
    return TemporaryOwnerOf(name) > 0;
}

} // namespace kelvane
