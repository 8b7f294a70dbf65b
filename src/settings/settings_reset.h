#pragma once
// Master Reset: back to every default on the next start.

#include "app/diagnostic_log.h"
#include "platform/dialogs.h"
#include "platform/ini_file.h"

#include <array>
#include <filesystem>

namespace tarmacia::settings {

// The game list and the port states survive a reset: they describe the
// machine, not the player's taste.
inline constexpr std::array<const char*, 7> kResetFiles{
    "color.ini",  "language.ini", "misc.ini", "screen.ini",
    "server.ini", "settings.ini", "sound.ini"};

// Asks first; on "Reset" deletes kResetFiles from the client folder and
// answers true, and the caller then starts a new instance and closes this one.
bool masterReset(platform::Dialogs& dialogs, app::DiagnosticLog& log, platform::IniFiles& ini,
                 const std::filesystem::path& clientFolder);

} // namespace tarmacia::settings
