#pragma once

#include "platform/sound.h"

#include <vector>

namespace tarmacia::platform::fake {

class FakeSound : public Sound {
public:
    std::vector<std::filesystem::path> played;
    int stops = 0;
    int left = 65535;
    int right = 65535;

    void play(const std::filesystem::path& wave) override { played.push_back(wave); }
    void stop() override { ++stops; }
    void setVolume(int l, int r) override {
        left = l;
        right = r;
    }
    int leftVolume() const override { return left; }
    int rightVolume() const override { return right; }
};

} // namespace tarmacia::platform::fake
