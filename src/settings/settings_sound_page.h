#pragma once
// The logic of the sound page: which event is chosen, what its controls show,
// and the changes the player makes. Changes act on the events in memory at
// once; only "Save Changes" writes "sound.ini". The page's widgets show the
// public fields and forward the player's actions here.

#include "app/diagnostic_log.h"
#include "platform/dialogs.h"
#include "settings/settings_store.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::settings {

// Where a stored sound path (Linux, or Windows-style text with backslashes)
// lies on disk; a relative one lies under the client folder.
std::filesystem::path resolveSoundPath(const std::filesystem::path& clientFolder,
                                       std::string_view storedPath);

class SoundPage {
public:
    static constexpr const char* kNoSound = "No Sound";

    SoundPage(app::DiagnosticLog& log, platform::Dialogs& dialogs, SettingsStore& store,
              Settings& settings);

    // The wave-output volume of both channels (set by the sound player).
    std::function<void(std::uint16_t)> setVolume;

    // What the controls show.
    std::vector<std::string> eventNames; // fixed: the twelve events in order
    std::vector<std::string> fileNames;  // "sounds/*.wav" of the client folder, lower case
    int selectedEvent = 0;
    bool useSound = false;    // the tick box
    std::uint16_t volume = 0; // the slider
    std::string fileText;     // the file selector

    // Start-up: fills both lists and selects the first event.
    void optionload();
    // The toolbar icon.
    void open();

    void chooseEvent(int index);
    void chooseFile(const std::string& name);
    void setUseSound(bool on);
    void moveSlider(std::uint16_t value);
    void releaseSlider(std::uint16_t value);
    // What the media player's play button plays.
    std::filesystem::path playPath();
    // Writes every event and confirms; the caller then closes the option pages.
    void saveChanges();

private:
    SoundEvent& event() { return settings_.sounds.at(static_cast<std::size_t>(selectedEvent)); }

    app::DiagnosticLog& log_;
    platform::Dialogs& dialogs_;
    SettingsStore& store_;
    Settings& settings_;
};

} // namespace tarmacia::settings
