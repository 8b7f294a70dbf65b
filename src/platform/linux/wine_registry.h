#pragma once
// The registry of a Wine prefix, read from its text files: "system.reg"
// holds HKEY_LOCAL_MACHINE, "user.reg" HKEY_CURRENT_USER. Key and value
// names compare without regard to case, as on Windows.

#include "platform/registry.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <variant>

namespace tarmacia::platform::os {

struct RegValue {
    std::variant<std::string, std::uint32_t> data;
};

// The keys of one .reg file: lower-cased key path -> lower-cased value name
// ("" for the default value) -> value. Garbage lines are skipped.
using RegKeys = std::map<std::string, std::map<std::string, RegValue>>;
RegKeys parseRegFile(std::string_view text);

class WineRegistry : public Registry {
public:
    // `prefix` is the Wine prefix folder (WINEPREFIX, by default ~/.wine).
    explicit WineRegistry(std::filesystem::path prefix);

    std::filesystem::path prefix() const override { return prefix_; }
    bool keyExists(Hive hive, const std::string& key) const override;
    std::optional<std::string> readString(Hive hive, const std::string& key,
                                          const std::string& name) const override;
    std::optional<std::uint32_t> readDword(Hive hive, const std::string& key,
                                           const std::string& name) const override;

private:
    struct Cache {
        std::filesystem::file_time_type stamp{};
        bool loaded = false;
        RegKeys keys;
    };
    const RegKeys& keys(Hive hive) const;
    const RegValue* find(Hive hive, const std::string& key, const std::string& name) const;

    std::filesystem::path prefix_;
    mutable std::map<Hive, Cache> cache_;
};

// The prefix a user expects: WINEPREFIX when set, otherwise ~/.wine.
std::filesystem::path defaultWinePrefix();

} // namespace tarmacia::platform::os
