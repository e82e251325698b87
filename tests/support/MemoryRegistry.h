// SPDX-License-Identifier: GPL-3.0-or-later
// A registry held in memory, with the keys an installation creates.
#pragma once

#include "platform/Registry.h"

#include <map>
#include <string>
#include <variant>

namespace kelvane::testing_support {

class MemoryRegistry : public Registry {
public:
    using Value = std::variant<std::string, int32_t>;
    // key path (as the program opens it) -> value name -> value
    std::map<std::string, std::map<std::string, Value>> keys;

    // The keys of a complete installation with the preferences given.
    static MemoryRegistry Installed(int32_t showCry = 0, int32_t onePassword = 0,
                                    int32_t onePerList = 0, int32_t expire = 0) {
        MemoryRegistry registry;
        registry.keys["\\crypt file\\Settings\\Options"] = {{"OnePassword", onePassword},
                                                            {"OnePerList", onePerList},
                                                            {"ShowCry", showCry},
                                                            {"Expire", expire}};
        return registry;
    }

    bool OpenKey(const std::string& path) override {
        open_ = keys.count(path) != 0 ? path : std::string();
        return !open_.empty();
    }
    void CloseKey() override { open_.clear(); }
    RegDataType GetDataType(const std::string& name) const override {
        const Value* value = Find(name);
        if (value == nullptr)
            return RegDataType::None;
        return std::holds_alternative<int32_t>(*value) ? RegDataType::Integer : RegDataType::String;
    }
    std::optional<std::string> ReadString(const std::string& name) const override {
        const Value* value = Find(name);
        if (value == nullptr || !std::holds_alternative<std::string>(*value))
            return std::nullopt;
        return std::get<std::string>(*value);
    }
    std::optional<int32_t> ReadInteger(const std::string& name) const override {
        const Value* value = Find(name);
        if (value == nullptr || !std::holds_alternative<int32_t>(*value))
            return std::nullopt;
        return std::get<int32_t>(*value);
    }
    bool WriteInteger(const std::string& name, int32_t value) override {
        if (open_.empty())
            return false;
        keys[open_][name] = value;
        return true;
    }

private:
    const Value* Find(const std::string& name) const {
        if (open_.empty())
            return nullptr;
        const auto& values = keys.at(open_);
        const auto it = values.find(name);
        return it == values.end() ? nullptr : &it->second;
    }

    std::string open_;
};

} // namespace kelvane::testing_support
