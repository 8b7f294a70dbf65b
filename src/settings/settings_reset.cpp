#include "settings/settings_reset.h"

#include "app/message_box.h"


namespace tarmacia::settings {

bool masterReset(platform::Dialogs& dialogs, app::DiagnosticLog& log, platform::IniFiles& ini,
                 const std::filesystem::path& clientFolder) {
    app::MessageBoxRecord box;
    box.title = "Restore Default Settings";
    box.kind = "warn";
    box.line1 = "Reset Tarmacia back to default settings";
    box.line2 = "This operation cannot be undone";
    box.line3 = "Tarmacia will restart";
    box.button1 = "Reset";
    box.button2 = "Cancel";
    if (app::messagebox(dialogs, log, box) != 1) return false;
    for (const char* name : kResetFiles) ini.removeFile(clientFolder / name);
    return true;
}

} // namespace tarmacia::settings
