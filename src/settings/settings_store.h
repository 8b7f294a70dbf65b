#pragma once
// Copies settings between memory and the INI files of the client folder: one
// read and one write operation per file or group of keys, one value per INI
// call, nothing cached in between. Every operation writes its log label first.
//
// A stored boolean or font size that cannot be converted throws
// ConversionError: the operation stops there and what it already read stays
// applied (the application's handler logs the message).

#include "app/diagnostic_log.h"
#include "platform/ini_file.h"
#include "protocol/passenc.h"
#include "settings/settings.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tarmacia::settings {

class SettingsStore {
public:
    SettingsStore(platform::IniFiles& ini, app::DiagnosticLog& log,
                  std::filesystem::path clientFolder, protocol::PrefixSource prefixSource);

    const std::filesystem::path& clientFolder() const { return clientFolder_; }

    // "screen.ini"
    // Says whether the window should take the state read (an unknown state
    // leaves it as it is).
    bool ReadscreenFile(Settings& s);
    void WritescreenFile(const Settings& s);
    // "server.ini"
    void ReadserverFile(Settings& s);
    void WriteserverFile(const Settings& s);
    // Merges a directory entry into the saved list, then rewrites "server.ini".
    void addserverfile(Settings& s, const ServerEntry& entry);
    // "sound.ini"; the selector is "all" or one event's selector word
    void ReadsoundFile(Settings& s);
    void WritesoundFile(const Settings& s, std::string_view selector);
    // "settings.ini"
    void ReadcolorFile(Settings& s);
    void WritecolorFile(const Settings& s);
    void ReadlanguageFile(Settings& s);
    void WritelanguageFile(const Settings& s);
    void ReadfontFile(Settings& s);
    void WritefontFile(const Settings& s, std::string_view fontSizeSelectorText);
    void Readlogindetails(Settings& s);
    void Writelogindetails(const Settings& s);
    void ReadOptions(Settings& s);
    void WriteOptions(const Settings& s);
    // "misc.ini"; selectors as the callers pass them ("all", "gameindex",
    // "histspeed", "flag", "allbuttons", ...)
    void ReadmiscFile(Settings& s, std::string_view selector);
    void WritemiscFile(const Settings& s, std::string_view selector);
    // "ports.ini"
    void ReadportFile(Settings& s, std::string_view gameCode);

private:
    std::filesystem::path file(const char* name) const { return clientFolder_ / name; }
    std::string readText(const std::filesystem::path& file, std::string_view section,
                         std::string_view key, std::string_view fallback) const;
    int readInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
                int fallback) const;
    bool readBool(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::string_view fallback) const;
    void write(const std::filesystem::path& file, std::string_view section, std::string_view key,
               std::string_view value);
    void writeInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  long long value);
    void readFont(const std::filesystem::path& file, std::string_view section, Font& font);
    void writeFont(const std::filesystem::path& file, std::string_view section, const Font& font);

    platform::IniFiles& ini_;
    app::DiagnosticLog& log_;
    std::filesystem::path clientFolder_;
    protocol::PrefixSource prefixSource_;
};

} // namespace tarmacia::settings
