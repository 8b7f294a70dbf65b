#include "settings/settings.h"

namespace tarmacia::settings {

// The order is fixed: the sound page's selector and the chat's sound calls
// index into it.
const std::array<SoundEventInfo, kSoundEventCount> kSoundEvents{{
    {"personenters", "Person Enters", "personenters.wav", false, "personenters", "Person Enters"},
    {"personleaves", "Person Leaves", "personleaves.wav", false, "personleaves", "Person Leaves"},
    {"racescanfail", "Race Scan Fail", "fail.wav", true, "racescanfail", "Race Scan Fail"},
    {"racescanpass", "Race Scan Pass", "pass.wav", true, "racescanpass", "Race Scan Pass"},
    {"whisper", "Whisper", "trm.wav", true, "whisper", "Whisper"},
    {"pitdoorbell", "Pit Doorbell", "beep2.wav", true, "pitdoorbell", "Pit Doorbell"},
    {"pitjoin", "Pit Join", "enterpit.wav", false, "pitjoin", "Pit Join"},
    {"pitleave", "Pit Leave", "leavepit.wav", false, "pitleave", "Pit Leave"},
    {"racescanstart", "Race Scan Start", "trm.wav", false, "racescanstart", "Race Scan Start"},
    {"singleracerpass", "Single Racer Pass", "trm.wav", false, "singleracerpass",
     "Single Racer Pass"},
    {"Personal Best", "Personal Best", "church.wav", true, "pb", "Personal Best"},
    {"Disconnect", "Disconnect", "dconn.wav", true, "Disconnect", "Server Disconnect"},
}};

std::string defaultSoundPath(const std::filesystem::path& clientFolder, std::size_t event) {
    return clientFolder.string() + "/sounds/" + kSoundEvents.at(event).defaultFile;
}

Settings defaultSettings(const std::filesystem::path& clientFolder) {
    Settings settings;
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        SoundEvent& event = settings.sounds[i];
        event.displayName = kSoundEvents[i].displayName;
        event.filePath = cut(defaultSoundPath(clientFolder, i), 100);
        event.enabled = kSoundEvents[i].defaultEnabled;
    }
    return settings;
}

} // namespace tarmacia::settings
