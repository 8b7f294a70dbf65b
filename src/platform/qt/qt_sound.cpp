#include "platform/qt/qt_sound.h"

#include <QSoundEffect>
#include <QUrl>

#include <algorithm>

namespace tarmacia::platform::qt {

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

void QtSound::play(const std::filesystem::path& wave) {
    // Finished effects are released on the next play; a few overlapping
    // sounds (a whisper during a pit doorbell) may play together.
    std::erase_if(playing_, [](const auto& effect) { return !effect->isPlaying(); });
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(QString::fromStdString(wave.string())));
    // One effect has one volume: the louder channel sets it.
    effect->setVolume(static_cast<float>(std::max(left_, right_)) / 65535.0f);
    effect->play();
    playing_.push_back(std::move(effect));
}

void QtSound::stop() {
    for (auto& effect : playing_) effect->stop();
    playing_.clear();
}

void QtSound::setVolume(int left, int right) {
    left_ = std::clamp(left, 0, 65535);
    right_ = std::clamp(right, 0, 65535);
}

} // namespace tarmacia::platform::qt
