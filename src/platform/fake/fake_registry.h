#pragma once

#include "platform/registry.h"

#include <map>
#include <tuple>

namespace tarmacia::platform::fake {

// Keys and value names compare as written; tests use the spelling the core uses.
class FakeRegistry : public Registry {
public:
    std::filesystem::path prefixPath;
    std::map<std::tuple<Hive, std::string, std::string>, std::string> strings;
    std::map<std::tuple<Hive, std::string, std::string>, std::uint32_t> dwords;

    void setString(Hive hive, const std::string& key, const std::string& name,
                   const std::string& value) {
        strings[{hive, key, name}] = value;
    }

    std::filesystem::path prefix() const override { return prefixPath; }
    bool keyExists(Hive hive, const std::string& key) const override {
        for (const auto& [k, v] : strings)
            if (std::get<0>(k) == hive && std::get<1>(k) == key) return true;
        for (const auto& [k, v] : dwords)
            if (std::get<0>(k) == hive && std::get<1>(k) == key) return true;
        return false;
    }
    std::optional<std::string> readString(Hive hive, const std::string& key,
                                          const std::string& name) const override {
        auto it = strings.find({hive, key, name});
        if (it == strings.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::uint32_t> readDword(Hive hive, const std::string& key,
                                           const std::string& name) const override {
        auto it = dwords.find({hive, key, name});
        if (it == dwords.end()) return std::nullopt;
        return it->second;
    }
};

} // namespace tarmacia::platform::fake
