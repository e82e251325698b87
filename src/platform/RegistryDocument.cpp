// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryDocument.h"

#include "crypto/AsciiCase.h"

namespace kelvane {

RegValue RegValue::String(std::string text) {
    RegValue value;
    value.type = RegDataType::String;
    value.text = std::move(text);
    return value;
}

RegValue RegValue::ExpandString(std::string text) {
    RegValue value = String(std::move(text));
    value.type = RegDataType::ExpandString;
    return value;
}

RegValue RegValue::Integer(uint32_t number) {
    RegValue value;
    value.type = RegDataType::Integer;
    value.number = number;
    return value;
}

std::string NormalizeKeyPath(std::string_view path) {
    std::string normal;
    normal.reserve(path.size());
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start) {
            if (!normal.empty())
                normal += '\\';
            normal.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return normal;
}

bool RegistryDocument::HasKey(std::string_view path) const {
    const std::string wanted = AsciiLowered(NormalizeKeyPath(path));
    if (wanted.empty() || keyIndex_.count(wanted) != 0)
        return true;
    // A key above a written one: the first path after "wanted\" starts with it.
    const std::string below = wanted + '\\';
    const auto next = keyIndex_.lower_bound(below);
    return next != keyIndex_.end() && next->first.starts_with(below);
}

const RegValue* RegistryDocument::Find(std::string_view path, std::string_view name) const {
    const auto key = keyIndex_.find(AsciiLowered(NormalizeKeyPath(path)));
    if (key == keyIndex_.end())
        return nullptr;
    const auto& names = valueIndex_[key->second];
    const auto entry = names.find(AsciiLowered(name));
    return entry == names.end() ? nullptr : &keys_[key->second].entries[entry->second].value;
}

std::size_t RegistryDocument::AddKey(std::string normalPath) {
    const auto [slot, added] = keyIndex_.try_emplace(AsciiLowered(normalPath), keys_.size());
    if (added) {
        keys_.push_back({std::move(normalPath), {}});
        valueIndex_.emplace_back();
        keyEnd_.push_back(0);
        entryLine_.emplace_back();
    }
    return slot->second;
}

void RegistryDocument::Record(std::size_t key, const std::string& name, RegValue value,
                              std::size_t line) {
    std::vector<Entry>& entries = keys_[key].entries;
    const auto [slot, added] = valueIndex_[key].try_emplace(AsciiLowered(name), entries.size());
    if (added) {
        entries.push_back({name, std::move(value)});
        entryLine_[key].push_back(line);
    } else {
        // The later line is the one in force, and the one a change rewrites.
        entries[slot->second].value = std::move(value);
        entryLine_[key][slot->second] = line;
    }
    keyEnd_[key] = line;
}

void RegistryDocument::EndLine(std::size_t line) {
    std::string& text = lines_[line];
    if (!text.ends_with('\n'))
        text += lineEnd_;
    // A value cut short after a continuation backslash at the end of the
    // text would take the line added behind it as its continuation; a blank
    // line ends it, as the reader ends it at the end of the text.
    const std::size_t lastLine = text.find_last_of('\n', text.size() - 2);
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    if (end != std::string::npos && text[end] == '\\' &&
        (lastLine == std::string::npos || end > lastLine))
        text += lineEnd_;
}

void RegistryDocument::InsertLine(std::size_t after, std::string text) {
    EndLine(after);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1, std::move(text));
    for (std::size_t& end : keyEnd_)
        end += end > after ? 1 : 0;
    for (auto& key : entryLine_)
        for (std::size_t& line : key)
            line += line > after ? 1 : 0;
}

} // namespace kelvane
