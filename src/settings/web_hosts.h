#pragma once
// The lobby's web addresses. They are configuration: compiled-in defaults
// (the local sandbox lobby, so a new install shows something at once),
// overridden by "network.ini" in the client folder:
//   [web]
//   primary=http://lobby.example.org/
//   backup=http://backup.example.org/
//   flags=lobby.example.org
//   downloads=http://lobby.example.org/
//   website=http://lobby.example.org/

#include "platform/ini_file.h"

#include <filesystem>
#include <string>

namespace tarmacia::settings {

struct WebHosts {
    std::string primary = "http://127.0.0.1:5450/"; // server directory, first choice
    std::string backup = "http://127.0.0.1:5450/";  // server directory, fall-back
    std::string flags = "127.0.0.1";                 // flag pictures before the welcome line
    std::string downloads = "http://127.0.0.1:5450/"; // repair downloads
    std::string website = "http://127.0.0.1:5450/";   // the lobby's web site
};

inline WebHosts readWebHosts(const platform::IniFiles& ini,
                             const std::filesystem::path& clientFolder) {
    const std::filesystem::path file = clientFolder / "network.ini";
    WebHosts hosts;
    hosts.primary = ini.readString(file, "web", "primary", hosts.primary);
    hosts.backup = ini.readString(file, "web", "backup", hosts.backup);
    hosts.flags = ini.readString(file, "web", "flags", hosts.flags);
    hosts.downloads = ini.readString(file, "web", "downloads", hosts.downloads);
    hosts.website = ini.readString(file, "web", "website", hosts.website);
    return hosts;
}

} // namespace tarmacia::settings
