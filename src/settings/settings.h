#pragma once
// The in-memory copies of everything the settings files hold. The store copies
// values between these and the files; the windows show and change them.

#include "settings/server_entry.h"
#include "settings/settings_values.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarmacia::settings {

enum class WindowState { Normal, Maximized, Minimized };

// "screen.ini". The main window applies these after ReadscreenFile and keeps
// them current (state and geometry) for WritescreenFile.
struct ScreenSettings {
    WindowState state = WindowState::Normal;
    int left = 255;
    int top = 200;
    int width = 800;
    int height = 600;
};

struct SoundEvent {
    std::string displayName;
    std::uint16_t leftVolume = 35000;
    std::uint16_t rightVolume = 35000;
    std::string filePath; // 100
    bool enabled = false;
};

// What is fixed per sound event.
struct SoundEventInfo {
    const char* section;
    const char* displayName;
    const char* defaultFile; // under "sounds/" of the client folder
    bool defaultEnabled;
    const char* selector;
    const char* selectorName; // as the sound page lists it
};

inline constexpr std::size_t kSoundEventCount = 12;
extern const std::array<SoundEventInfo, kSoundEventCount> kSoundEvents;

struct Font {
    std::string name = "Arial";
    Colour colour = kBlack;
    int size = 10;
};

struct LoginDetails {
    std::string flag = "[df]"; // the player's current flag code; written, never read back
    std::string name;
    std::string password; // plain here, scrambled in the file
    bool useAsDefault = false;
};

struct Options {
    bool puSaveReplays = false; // "PU - Save Replays"
    bool useLogfile = true;     // "Use Logfile": start-up switches the log on from it
    bool useSounds = true;      // "Use Sounds"
    bool logChat = true;        // "Log all chat"
};

// "settings.ini".
struct UserSettings {
    std::string style = "Default";        // the theme code applies it after ReadcolorFile
    Colour chatTextColour = kBlack;       // the chat input takes it
    std::string languageName = "English"; // 40; applied by the language code
    std::string translator;               // 40
    std::string languageFlag = "gbr";     // 20
    bool autoFont = true;
    Font mainFont; // the window re-applies fonts after ReadfontFile
    Font highFont{"Arial", kWhite, 10};
    LoginDetails login;
    Options options;
};

struct PerGame {
    int PU = 0;
    int HS = 0;
    int HP = 0;
};

struct PanelButton {
    std::string top; // caption, "buttontop"
    std::string webUrl;
};

// "misc.ini". The groups after hostingIp are only ever written.
struct MiscSettings {
    int garage = 0;    // last PU garage a fix installed
    PerGame portTests; // 0 not tested, 1 passed, 2 failed; never written here
    int chromePU = 0;  // 0 none, 1 standard, 2 alternative
    int flagWidth = 36;
    int flagLength = 24;
    int raceFlagWidth = 24;
    int raceFlagLength = 16;
    std::string histSpeed = "mph"; // or "kmh"
    std::string hostingIp;

    struct SmileyBox {
        std::string background, flag, link, text;
        int flagWidth = 0;
        int flagLength = 0;
    } smileyBox;
    int maxButtons = 0;
    int showButtons = 0;
    std::map<int, PanelButton> buttons; // written for 2, 3 and 5
    struct RaceDisplay {
        int game = 0, pit = 0, host = 0, description = 0, status = 0, track = 0, start = 0;
    } raceDisplay;
};

struct Settings {
    ScreenSettings screen;
    std::array<ServerEntry, 10> savedServers;
    // The visible list of saved servers: ReadserverFile appends; the servers
    // page clears it before reading again.
    std::vector<std::string> savedServerNames;
    std::array<SoundEvent, kSoundEventCount> sounds;
    UserSettings user;
    MiscSettings misc;
    // "ports.ini": game code -> indicator colour name; the window paints it.
    std::map<std::string, std::string> portIndicators;
};

// Every value at its default; the sound events need the client folder for
// their default files.
Settings defaultSettings(const std::filesystem::path& clientFolder);
// The client folder followed by "sounds/" and the event's default file.
std::string defaultSoundPath(const std::filesystem::path& clientFolder, std::size_t event);

} // namespace tarmacia::settings
