#include "crypto/CryptNames.h"

#include "crypto/AsciiCase.h"

namespace kelvane {
namespace {

std::string_view LastComponent(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

} // namespace

bool HasCryExtension(std::string_view name) {
    const std::string_view last = LastComponent(name);
    const std::size_t dot = last.rfind('.');
    if (dot == std::string_view::npos || last.size() - dot != kCryExtension.size())
        return false;
    for (std::size_t i = 0; i < kCryExtension.size(); ++i) {
        if (AsciiLower(last[dot + i]) != kCryExtension[i])
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
    std::string text = "Cannot generate crypted file \"";
    text += newName;
    text += "\".";
    text += separator;
    text += "File name is too long.";
    return text;
}

} // namespace kelvane
