#pragma once
// Wave playback. The volume is the client's own (0-65535 per channel, as the
// settings store keeps it), applied to what it plays; the system mixer is
// never touched.

#include <filesystem>

namespace tarmacia::platform {

class Sound {
public:
    virtual ~Sound() = default;
    // Starts playing and returns at once; a missing or broken file plays nothing.
    virtual void play(const std::filesystem::path& wave) = 0;
    // Stops everything playing.
    virtual void stop() = 0;
    virtual void setVolume(int left, int right) = 0;
    virtual int leftVolume() const = 0;
    virtual int rightVolume() const = 0;
};

} // namespace tarmacia::platform
