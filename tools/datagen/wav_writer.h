#pragma once
// Short synthesised sounds as 16-bit mono PCM wave files, the form every
// wave player (and Qt's sound effect) accepts.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace tarmacia::datagen {

enum class Wave { Sine, Square, Bell };

// One note: a tone from `startS` for `lengthS` seconds, its pitch gliding
// from `fromHz` to `toHz`, fading with `decayPerS`.
struct Tone {
    double startS = 0;
    double lengthS = 0;
    double fromHz = 0;
    double toHz = 0;
    double amplitude = 1;
    double decayPerS = 4;
    Wave wave = Wave::Sine;
};

inline constexpr int kSampleRate = 22050;

// Mixes the notes and scales the result to a common peak, so that every event
// sounds about as loud as the others.
std::vector<std::int16_t> synthesize(const std::vector<Tone>& tones, int sampleRate = kSampleRate);

QByteArray encodeWav(const std::vector<std::int16_t>& samples, int sampleRate = kSampleRate);

} // namespace tarmacia::datagen
