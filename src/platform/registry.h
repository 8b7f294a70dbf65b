#pragma once
// Registry reads. On Linux the registry is the Wine prefix's: HKLM lives in
// "system.reg", HKCU in "user.reg".

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tarmacia::platform {

enum class Hive { LocalMachine, CurrentUser };

class Registry {
public:
    virtual ~Registry() = default;
    // The Wine prefix the registry belongs to; Windows paths read from the
    // registry map through it (mapWindowsPath).
    virtual std::filesystem::path prefix() const = 0;
    virtual bool keyExists(Hive hive, const std::string& key) const = 0;
    // A string value ("" names the key's default value); nullopt when the key
    // or value is missing or not a string.
    virtual std::optional<std::string> readString(Hive hive, const std::string& key,
                                                  const std::string& name) const = 0;
    virtual std::optional<std::uint32_t> readDword(Hive hive, const std::string& key,
                                                   const std::string& name) const = 0;
};

} // namespace tarmacia::platform
