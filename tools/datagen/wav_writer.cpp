#include "wav_writer.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarmacia::datagen {

namespace {

constexpr double kPeak = 0.7; // of full scale: loud enough, never clipping
constexpr double kAttackS = 0.004;
constexpr double kReleaseS = 0.012;

// Partials of a struck bell: (ratio to the fundamental, loudness, extra decay).
struct Partial {
    double ratio, level, decay;
};
constexpr Partial kBell[] = {{0.5, 0.35, 0.5}, {1.0, 1.0, 1.0}, {1.19, 0.45, 1.6},
                             {1.5, 0.35, 2.0}, {2.0, 0.3, 2.4}, {2.74, 0.2, 3.2}};

double waveAt(Wave wave, double phase, double t, double decayPerS) {
    switch (wave) {
    case Wave::Sine:
        return std::sin(phase);
    case Wave::Square: // band-limited by hand: odd harmonics only, no aliasing
        return std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5 +
               std::sin(7 * phase) / 7;
    case Wave::Bell: {
        double sum = 0;
        for (const Partial& p : kBell)
            sum += p.level * std::sin(p.ratio * phase) * std::exp(-decayPerS * (p.decay - 1) * t);
        return sum / 2;
    }
    }
    return 0;
}

void putTag(QByteArray& out, const char* tag) {
    out.append(tag, 4);
}
void put16(QByteArray& out, std::uint16_t v) {
    const auto le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), 2);
}
void put32(QByteArray& out, std::uint32_t v) {
    const auto le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

} // namespace

std::vector<std::int16_t> synthesize(const std::vector<Tone>& tones, int sampleRate) {
    double endS = 0;
    for (const Tone& tone : tones)
        endS = std::max(endS, tone.startS + tone.lengthS);
    std::vector<double> mix(std::size_t(std::ceil(endS * sampleRate)), 0.0);

    for (const Tone& tone : tones) {
        const auto first = std::size_t(tone.startS * sampleRate);
        const auto count = std::size_t(tone.lengthS * sampleRate);
        double phase = 0;
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = double(i) / sampleRate;
            const double hz = tone.fromHz + (tone.toHz - tone.fromHz) * (t / tone.lengthS);
            phase += 2 * std::numbers::pi * hz / sampleRate;
            // Short linear ramps at both ends keep the speaker from clicking.
            const double attack = std::min(1.0, t / kAttackS);
            const double release = std::min(1.0, (tone.lengthS - t) / kReleaseS);
            const double envelope = attack * release * std::exp(-tone.decayPerS * t);
            mix[first + i] +=
                tone.amplitude * envelope * waveAt(tone.wave, phase, t, tone.decayPerS);
        }
    }

    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    const double gain = peak > 0 ? kPeak * 32767 / peak : 0;
    std::vector<std::int16_t> samples;
    samples.reserve(mix.size());
    for (double v : mix)
        samples.push_back(static_cast<std::int16_t>(std::lround(v * gain)));
    return samples;
}

QByteArray encodeWav(const std::vector<std::int16_t>& samples, int sampleRate) {
    const auto dataBytes = std::uint32_t(samples.size() * 2);
    QByteArray out;
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, std::uint32_t(sampleRate));
    put32(out, std::uint32_t(sampleRate) * 2); // bytes per second
    put16(out, 2);                             // bytes per frame
    put16(out, 16);                            // bits per sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));
    return out;
}

} // namespace tarmacia::datagen
