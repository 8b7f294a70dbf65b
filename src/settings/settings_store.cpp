#include "settings/settings_store.h"

#include <algorithm>

#include "common/text.h"

#include <string>
#include <utility>

namespace tarmacia::settings {
namespace fs = std::filesystem;

namespace {

constexpr const char* kScreen = "screen.ini";
constexpr const char* kServer = "server.ini";
constexpr const char* kSound = "sound.ini";
constexpr const char* kSettings = "settings.ini";
constexpr const char* kMisc = "misc.ini";
constexpr const char* kPorts = "ports.ini";

std::string serverSection(std::size_t slot) {
    return "server" + std::to_string(slot);
}

// A group of keys with a selector word is touched by "all" or by its own word.
bool selects(std::string_view selector, std::string_view group) {
    return selector == "all" || selector == group;
}

} // namespace

SettingsStore::SettingsStore(platform::IniFiles& ini, app::DiagnosticLog& log,
                             fs::path clientFolder, protocol::PrefixSource prefixSource)
    : ini_(ini), log_(log), clientFolder_(std::move(clientFolder)),
      prefixSource_(std::move(prefixSource)) {
    // It holds the scrambled password, so nobody else may read it, whichever
    // operation happens to create it.
    ini_.markPrivate(file(kSettings));
}

std::string SettingsStore::readText(const fs::path& f, std::string_view section,
                                    std::string_view key, std::string_view fallback) const {
    return ini_.readString(f, section, key, fallback);
}

int SettingsStore::readInt(const fs::path& f, std::string_view section, std::string_view key,
                           int fallback) const {
    return parseInteger(ini_.readString(f, section, key, std::to_string(fallback)))
        .value_or(fallback);
}

bool SettingsStore::readBool(const fs::path& f, std::string_view section, std::string_view key,
                             std::string_view fallback) const {
    return textToBool(ini_.readString(f, section, key, fallback));
}

void SettingsStore::write(const fs::path& f, std::string_view section, std::string_view key,
                          std::string_view value) {
    ini_.writeString(f, section, key, value);
}

void SettingsStore::writeInt(const fs::path& f, std::string_view section, std::string_view key,
                             long long value) {
    ini_.writeString(f, section, key, std::to_string(value));
}

// ---- screen.ini -------------------------------------------------------------

bool SettingsStore::ReadscreenFile(Settings& s) {
    log_.label("Read screen file");
    const fs::path f = file(kScreen);
    std::string state = readText(f, "screen", "scrstate", "wsNormal");
    if (state == "wsMaximized") {
        s.screen.state = WindowState::Maximized;
    } else if (state == "wsNormal") {
        s.screen.state = WindowState::Normal;
        s.screen.left = readInt(f, "screen", "scrleft", 255);
        s.screen.top = readInt(f, "screen", "scrtop", 200);
        s.screen.width = readInt(f, "screen", "scrwidth", 800);
        s.screen.height = readInt(f, "screen", "scrheight", 600);
    } else {
        return false; // any other state leaves the window as it is
    }
    return true;
}

void SettingsStore::WritescreenFile(const Settings& s) {
    log_.label("Write screen File");
    const fs::path f = file(kScreen);
    // A minimised window comes back normal next time.
    write(f, "screen", "scrstate",
          s.screen.state == WindowState::Maximized ? "wsMaximized" : "wsNormal");
    writeInt(f, "screen", "scrleft", s.screen.left);
    writeInt(f, "screen", "scrtop", s.screen.top);
    writeInt(f, "screen", "scrwidth", s.screen.width);
    writeInt(f, "screen", "scrheight", s.screen.height);
}

// ---- server.ini -------------------------------------------------------------

void SettingsStore::ReadserverFile(Settings& s) {
    log_.label("Read server file");
    const fs::path f = file(kServer);
    for (std::size_t slot = 0; slot < s.savedServers.size(); ++slot) {
        const std::string section = serverSection(slot);
        ServerEntry entry;
        entry.name = readText(f, section, "servername", "");
        entry.serverPassword = readText(f, section, "serverpassword", "");
        entry.ip = readText(f, section, "serverip", "");
        entry.port = readText(f, section, "serverport", "");
        entry.userName = readText(f, section, "username", "");
        entry.userFlag = readText(f, section, "userflag", "");
        entry.userPassword = readText(f, section, "userpassword", "");
        entry.defaultMarker = readText(f, section, "default", "");
        entry.lastLogin = readInt(f, section, "lastlogin", 0);
        s.savedServers[slot] = entry.bounded();
    }
    for (const ServerEntry& entry : s.savedServers)
        if (!entry.isFree()) s.savedServerNames.push_back(entry.name);
}

void SettingsStore::addserverfile(Settings& s, const ServerEntry& raw) {
    log_.label("Add Server");
    const ServerEntry entry = raw.bounded();
    auto same = std::find_if(s.savedServers.begin(), s.savedServers.end(),
                             [&](const ServerEntry& e) { return !e.isFree() && e.name == entry.name; });
    if (same != s.savedServers.end()) {
        // Known server: take the new address and login, keep its last login.
        same->ip = entry.ip;
        same->port = entry.port;
        same->userName = entry.userName;
        same->userPassword = entry.userPassword;
        same->defaultMarker = entry.defaultMarker;
        same->userFlag = entry.userFlag;
        same->serverPassword.clear();
    } else {
        auto free = std::find_if(s.savedServers.begin(), s.savedServers.end(),
                                 [](const ServerEntry& e) { return e.isFree(); });
        if (free != s.savedServers.end()) {
            *free = entry;
            free->serverPassword.clear();
        }
    }
    WriteserverFile(s);
}

void SettingsStore::WriteserverFile(const Settings& s) {
    log_.label("Write server File");
    const fs::path f = file(kServer);
    for (std::size_t slot = 0; slot < s.savedServers.size(); ++slot)
        ini_.eraseSection(f, serverSection(slot));
    for (std::size_t slot = 0; slot < s.savedServers.size(); ++slot) {
        const ServerEntry& entry = s.savedServers[slot];
        if (entry.isFree()) continue;
        const std::string section = serverSection(slot);
        write(f, section, "servername", entry.name);
        write(f, section, "serverpassword", ""); // passwords never reach the file
        write(f, section, "serverip", entry.ip);
        write(f, section, "serverport", entry.port);
        write(f, section, "username", entry.userName);
        write(f, section, "userflag", entry.userFlag);
        write(f, section, "userpassword", "");
        write(f, section, "default", entry.defaultMarker);
        writeInt(f, section, "lastlogin", entry.lastLogin);
    }
}

// ---- sound.ini --------------------------------------------------------------

void SettingsStore::ReadsoundFile(Settings& s) {
    log_.label("Read sound file");
    const fs::path f = file(kSound);
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        const SoundEventInfo& info = kSoundEvents[i];
        SoundEvent& event = s.sounds[i];
        event.displayName = info.displayName;
        // 16-bit volumes: an out-of-range number wraps, as it always has.
        event.leftVolume =
            static_cast<std::uint16_t>(readInt(f, info.section, "leftvolume", 35000));
        event.rightVolume =
            static_cast<std::uint16_t>(readInt(f, info.section, "rightvolume", 35000));
        event.filePath =
            cut(readText(f, info.section, "filepath", defaultSoundPath(clientFolder_, i)), 100);
        event.enabled =
            readBool(f, info.section, "usesound", info.defaultEnabled ? "True" : "False");
    }
    // The sound page fills its event selector from these afterwards.
}

void SettingsStore::WritesoundFile(const Settings& s, std::string_view selector) {
    log_.label("Write sound File");
    const fs::path f = file(kSound);
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        const SoundEventInfo& info = kSoundEvents[i];
        if (!selects(selector, info.selector)) continue;
        const SoundEvent& event = s.sounds[i];
        writeInt(f, info.section, "leftvolume", event.leftVolume);
        writeInt(f, info.section, "rightvolume", event.rightVolume);
        write(f, info.section, "filepath", event.filePath);
        write(f, info.section, "usesound", boolToText(event.enabled));
    }
}

// ---- settings.ini -----------------------------------------------------------

void SettingsStore::ReadcolorFile(Settings& s) {
    log_.label("Read color file");
    const fs::path f = file(kSettings);
    // The theme code applies the style; the chat input takes the colour.
    s.user.style = readText(f, "defstyle", "style", "Default");
    s.user.chatTextColour = colourFromText(readText(f, "userfontcolor", "usertext", "000000"));
}

void SettingsStore::WritecolorFile(const Settings& s) {
    log_.label("Write color File");
    const fs::path f = file(kSettings);
    write(f, "defstyle", "style", s.user.style);
    write(f, "userfontcolor", "usertext", colourToText(s.user.chatTextColour));
}

void SettingsStore::ReadlanguageFile(Settings& s) {
    log_.label("Read color file");
    const fs::path f = file(kSettings);
    s.user.languageName = cut(readText(f, "language", "default", "English"), 40);
    s.user.translator = cut(readText(f, "language", "translator", ""), 40);
    s.user.languageFlag = cut(readText(f, "language", "flag", "gbr"), 20);
    // The language code applies the language after this call.
}

void SettingsStore::WritelanguageFile(const Settings& s) {
    log_.label("Write language File");
    const fs::path f = file(kSettings);
    write(f, "language", "default", s.user.languageName);
    write(f, "language", "translator", s.user.translator);
    write(f, "language", "flag", s.user.languageFlag);
}

void SettingsStore::readFont(const fs::path& f, std::string_view section, Font& font) {
    const Font fallback = section == "highfont" ? Font{"Arial", kWhite, 10} : Font{};
    font.name = readText(f, section, "name", fallback.name);
    font.colour = colourFromText(readText(f, section, "color", colourToText(fallback.colour)));
    // Unlike other integers, a bad size is an error, not the default.
    font.size = textToInt(readText(f, section, "size", std::to_string(fallback.size)));
}

void SettingsStore::writeFont(const fs::path& f, std::string_view section, const Font& font) {
    write(f, section, "name", font.name);
    write(f, section, "color", colourToText(font.colour));
    writeInt(f, section, "size", font.size);
}

void SettingsStore::ReadfontFile(Settings& s) {
    log_.label("Read fonts file");
    const fs::path f = file(kSettings);
    s.user.autoFont = readBool(f, "autofont", "setting", "True");
    readFont(f, "mainfont", s.user.mainFont);
    readFont(f, "highfont", s.user.highFont);
    // The window re-applies fonts and colours after this call.
}

void SettingsStore::WritefontFile(const Settings& s, std::string_view fontSizeSelectorText) {
    log_.label("Write language File");
    const fs::path f = file(kSettings);
    if (equalsNoCase(fontSizeSelectorText, "auto")) {
        ini_.eraseSection(f, "mainfont");
        ini_.eraseSection(f, "highfont");
        return;
    }
    write(f, "autofont", "setting", boolToText(s.user.autoFont));
    writeFont(f, "mainfont", s.user.mainFont);
    writeFont(f, "highfont", s.user.highFont);
}

void SettingsStore::Readlogindetails(Settings& s) {
    log_.label("Read login details");
    const fs::path f = file(kSettings);
    // "flag" is written for the record only.
    s.user.login.name = readText(f, "login", "name", "");
    s.user.login.password = protocol::passdec2(readText(f, "login", "password", ""));
    s.user.login.useAsDefault = readBool(f, "login", "default", "false");
}

void SettingsStore::Writelogindetails(const Settings& s) {
    log_.label("Write language File");
    const fs::path f = file(kSettings);
    write(f, "login", "flag", s.user.login.flag);
    write(f, "login", "name", s.user.login.name);
    write(f, "login", "password", protocol::passenc(s.user.login.password, prefixSource_));
    write(f, "login", "default", s.user.login.useAsDefault ? "true" : "false");
}

void SettingsStore::ReadOptions(Settings& s) {
    log_.label("Read misc file");
    const fs::path f = file(kSettings);
    Options& o = s.user.options;
    o.puSaveReplays = readBool(f, "misc", "pureplays", "0");
    o.useLogfile = readBool(f, "misc", "uselogfile", "1");
    o.useSounds = readBool(f, "misc", "sounds", "1");
    o.logChat = readBool(f, "misc", "logchat", "1");
}

void SettingsStore::WriteOptions(const Settings& s) {
    log_.label("Write language File");
    const fs::path f = file(kSettings);
    const Options& o = s.user.options;
    write(f, "misc", "pureplays", boolToText(o.puSaveReplays));
    write(f, "misc", "uselogfile", boolToText(o.useLogfile));
    write(f, "misc", "sounds", boolToText(o.useSounds));
    write(f, "misc", "logchat", boolToText(o.logChat));
}

// ---- misc.ini ---------------------------------------------------------------

void SettingsStore::ReadmiscFile(Settings& s, std::string_view selector) {
    log_.label("Read misc file");
    const fs::path f = file(kMisc);
    MiscSettings& m = s.misc;
    m.garage = readInt(f, "pugarage", "garage", 0);
    m.portTests.PU = readInt(f, "ports", "PU", 0);
    m.portTests.HS = readInt(f, "ports", "HS", 0);
    m.portTests.HP = readInt(f, "ports", "HP", 0);
    m.chromePU = readInt(f, "chrome", "PU", 0);
    if (selects(selector, "flag")) {
        m.flagWidth = readInt(f, "flag", "width", 36);
        m.flagLength = readInt(f, "flag", "length", 24);
    }
    if (selects(selector, "raceflag")) {
        m.raceFlagWidth = readInt(f, "raceflag", "width", 24);
        m.raceFlagLength = readInt(f, "raceflag", "length", 16);
    }
    if (selects(selector, "histspeed")) m.histSpeed = readText(f, "histspeed", "speed", "mph");
    if (selects(selector, "hostingip")) m.hostingIp = readText(f, "hostingip", "ip", "");
}

void SettingsStore::WritemiscFile(const Settings& s, std::string_view selector) {
    log_.label("Write misc File");
    const fs::path f = file(kMisc);
    const MiscSettings& m = s.misc;
    writeInt(f, "pugarage", "garage", m.garage);
    writeInt(f, "chrome", "PU", m.chromePU);
    if (selects(selector, "flag")) {
        writeInt(f, "flag", "width", m.flagWidth);
        writeInt(f, "flag", "length", m.flagLength);
    }
    if (selects(selector, "raceflag")) {
        writeInt(f, "raceflag", "width", m.raceFlagWidth);
        writeInt(f, "raceflag", "length", m.raceFlagLength);
    }
    if (selects(selector, "histspeed")) write(f, "histspeed", "speed", m.histSpeed);
    if (selects(selector, "hostingip")) write(f, "hostingip", "ip", m.hostingIp);
    if (selects(selector, "smileylist") || selector == "smileybox") {
        write(f, "smileybox", "background", m.smileyBox.background);
        write(f, "smileybox", "flag", m.smileyBox.flag);
        write(f, "smileybox", "link", m.smileyBox.link);
        write(f, "smileybox", "text", m.smileyBox.text);
        writeInt(f, "smileybox", "flagwidth", m.smileyBox.flagWidth);
        writeInt(f, "smileybox", "flaglength", m.smileyBox.flagLength);
    }
    writeInt(f, "maxbuttons", "total", m.maxButtons);
    writeInt(f, "showbuttons", "show", m.showButtons);
    // Buttons that were removed from the panel must not come back.
    if (selector == "allbuttons")
        for (int n = 2; n <= 20; ++n)
            ini_.eraseSection(f, "button" + std::to_string(n));
    for (int n : {2, 3, 5}) {
        const std::string section = "button" + std::to_string(n);
        if (!selects(selector, section) && selector != "allbuttons") continue;
        auto it = m.buttons.find(n);
        const PanelButton button = it == m.buttons.end() ? PanelButton{} : it->second;
        write(f, section, "buttontop", button.top);
        write(f, section, "weburl", button.webUrl);
    }
    if (selects(selector, "racedisplay")) {
        const auto& r = m.raceDisplay;
        writeInt(f, "racedisplay", "game", r.game);
        writeInt(f, "racedisplay", "pit", r.pit);
        writeInt(f, "racedisplay", "host", r.host);
        writeInt(f, "racedisplay", "description", r.description);
        writeInt(f, "racedisplay", "status", r.status);
        writeInt(f, "racedisplay", "track", r.track);
        writeInt(f, "racedisplay", "start", r.start);
    }
}

// ---- ports.ini --------------------------------------------------------------

void SettingsStore::ReadportFile(Settings& s, std::string_view gameCode) {
    log_.label("Read Port file");
    s.portIndicators[std::string(gameCode)] =
        readText(file(kPorts), gameCode, "port", "clWebOrange");
}

} // namespace tarmacia::settings
