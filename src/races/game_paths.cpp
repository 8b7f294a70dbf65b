#include "races/game_paths.h"

#include "app/diagnostic_log.h"
#include "platform/registry.h"
#include "platform/wine_paths.h"
#include "settings/game_list.h"

#include <array>

namespace tarmacia::races {
namespace {

using platform::Hive;

// A 32-bit program on 64-bit Windows sees these keys through the registry's
// redirection; we read the prefix's files directly, so a 64-bit prefix keeps
// them under Wow6432Node and a 32-bit prefix under the plain key.
std::string readMachineString(const platform::Registry& registry, const std::string& underSoftware,
                              const std::string& name) {
    for (const char* root : {"SOFTWARE\\Wow6432Node\\", "SOFTWARE\\"}) {
        auto value = registry.readString(Hive::LocalMachine, root + underSoftware, name);
        if (value && !value->empty()) return *value;
    }
    return {};
}

std::string withTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

struct InstallKey {
    std::string_view code;
    const char* key;
    const char* value;
};

constexpr std::array<InstallKey, 7> kInstallKeys{{
    {"PU", "Electronic Arts\\Need For Speed - Porsche 2000", "Install Dir"},
    {"PU", "Electronic Arts\\Need For Speed - Porsche Unleashed", "Install Dir"},
    {"PU", "Electronic Arts\\Need For Speed - Porsche", "Install Dir"},
    {"HS", "Electronic Arts\\Need For Speed High Stakes", "InstallPath"},
    {"HS", "Electronic Arts\\Need For Speed Road Challenge", "InstallPath"},
    {"HS", "Electronic Arts\\High Stakes", "InstallPath"},
    {"HP", "EA Games\\Need For Speed Hot Pursuit 2", "Install Dir"},
}};

} // namespace

std::string linuxPath(const std::filesystem::path& prefix, std::string_view text) {
    if (text.empty()) return {};
    if (text.front() == '/') return std::string(text);
    // Matching each component against the disk also gives the folder's real
    // spelling, which is what the long path form was for.
    return platform::mapWindowsPath(prefix, text).string();
}

std::string getgamepath(const platform::Registry& registry, app::DiagnosticLog& log,
                        std::string_view exename) {
    log.label("Get Game Path from registry " + std::string(exename));
    std::string value = readMachineString(
        registry, "Microsoft\\Windows\\CurrentVersion\\App Paths\\" + std::string(exename), "Path");
    return withTrailingSlash(linuxPath(registry.prefix(), value));
}

std::string getinstalldir(const platform::Registry& registry, app::DiagnosticLog& log,
                          std::string_view code) {
    log.label("Get Install Dir");
    for (const InstallKey& entry : kInstallKeys) {
        if (entry.code != code) continue;
        std::string value = readMachineString(registry, entry.key, entry.value);
        if (!value.empty()) return linuxPath(registry.prefix(), value);
    }
    return {};
}

std::string getrunpath(settings::multigame& list, app::DiagnosticLog& log, std::string_view code,
                       const std::filesystem::path& prefix) {
    log.label("Get Run path");
    if (list.find(code) < 0) return {};
    const std::string& path = list.path();
    std::string mapped = linuxPath(prefix, path);
    return withTrailingSlash(mapped.empty() ? path : mapped);
}

} // namespace tarmacia::races
