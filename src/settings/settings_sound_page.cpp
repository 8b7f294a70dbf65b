#include "settings/settings_sound_page.h"

#include "app/message_box.h"
#include "common/text.h"
#include "platform/paths.h"

#include <algorithm>
#include <system_error>

namespace tarmacia::settings {
namespace fs = std::filesystem;

fs::path resolveSoundPath(const fs::path& clientFolder, std::string_view storedPath) {
    if (startsWith(storedPath, "/")) return platform::resolvePath("/", storedPath);
    return platform::resolvePath(clientFolder, storedPath);
}

SoundPage::SoundPage(app::DiagnosticLog& log, platform::Dialogs& dialogs, SettingsStore& store,
                     Settings& settings)
    : log_(log), dialogs_(dialogs), store_(store), settings_(settings) {
    for (const SoundEventInfo& info : kSoundEvents)
        eventNames.emplace_back(info.selectorName);
}

void SoundPage::optionload() {
    log_.label("Load Sounds");
    fileNames.clear();
    std::error_code ec;
    const fs::path folder = platform::resolvePath(store_.clientFolder(), "sounds");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // "*.wav" matched the way Windows does: without regard to case.
        const std::string name = toLower(it->path().filename().string());
        if (it->is_regular_file(ec) && name.size() > 4 && name.ends_with(".wav"))
            fileNames.push_back(name);
    }
    std::sort(fileNames.begin(), fileNames.end());
    chooseEvent(0);
}

void SoundPage::open() {
    log_.label("Open Sounds");
}

void SoundPage::chooseEvent(int index) {
    log_.label("Change TRM Sound");
    if (index < 0 || index >= static_cast<int>(kSoundEventCount)) return;
    selectedEvent = index;
    const SoundEvent& chosen = event();
    useSound = chosen.enabled;
    volume = chosen.leftVolume;
    const std::string& path = chosen.filePath;
    const std::string name = toLower(path.substr(path.find_last_of("\\/") + 1));
    std::error_code ec;
    // The name must occur as written: a path spelled in other letters shows
    // "No Sound", as it always did.
    const bool shown = !name.empty() && path.find(name) != std::string::npos &&
                       fs::is_regular_file(resolveSoundPath(store_.clientFolder(), path), ec);
    fileText = shown ? name : kNoSound;
}

void SoundPage::chooseFile(const std::string& name) {
    log_.label("Set Sound");
    fileText = name;
    if (name == kNoSound) {
        event().filePath.clear(); // nothing to play
        return;
    }
    // Stored like the default paths, so the player needs no other rule.
    event().filePath = cut(store_.clientFolder().string() + "/sounds/" + name, 100);
}

void SoundPage::setUseSound(bool on) {
    log_.label("Set use this sound");
    useSound = on;
    event().enabled = on;
}

void SoundPage::moveSlider(std::uint16_t value) {
    log_.label("Move Sound Slider");
    volume = value;
    if (setVolume) setVolume(value);
}

void SoundPage::releaseSlider(std::uint16_t value) {
    log_.label("Set new Volume");
    volume = value;
    event().leftVolume = value;
    event().rightVolume = value;
    if (setVolume) setVolume(value);
}

fs::path SoundPage::playPath() {
    log_.label("Media Player Play");
    return platform::resolvePath(store_.clientFolder(), "sounds\\" + fileText);
}

void SoundPage::saveChanges() {
    log_.label("Button 21 Save Sounds");
    store_.WritesoundFile(settings_, "all");
    app::MessageBoxRecord box;
    box.title = "Sounds Saved";
    box.kind = "info";
    box.line1 = "Tarmacia sounds saved";
    box.line2 = "Press Continue";
    box.button1 = "Continue";
    app::messagebox(dialogs_, log_, box);
}

} // namespace tarmacia::settings
