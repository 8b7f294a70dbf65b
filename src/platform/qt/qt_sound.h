#pragma once

#include "platform/sound.h"

#include <memory>
#include <vector>

class QSoundEffect;

namespace tarmacia::platform::qt {

class QtSound : public Sound {
public:
    QtSound();
    ~QtSound() override;
    void play(const std::filesystem::path& wave) override;
    void stop() override;
    void setVolume(int left, int right) override;
    int leftVolume() const override { return left_; }
    int rightVolume() const override { return right_; }

private:
    std::vector<std::unique_ptr<QSoundEffect>> playing_;
    int left_ = 65535;
    int right_ = 65535;
};

} // namespace tarmacia::platform::qt
