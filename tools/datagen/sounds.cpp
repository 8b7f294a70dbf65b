#include "sounds.h"

#include "canvas.h"
#include "wav_writer.h"

namespace tarmacia::datagen {

namespace {

// Equal-tempered notes used below.
constexpr double C4 = 261.63, E4 = 329.63, G4 = 392.00, F3 = 174.61, A3 = 220.00;
constexpr double C5 = 523.25, E5 = 659.25, G5 = 783.99, C6 = 1046.50, E6 = 1318.51;

struct Sound {
    const char* file;
    std::vector<Tone> tones;
};

// Arrivals rise, departures fall, failures buzz low, passes climb a chord,
// the personal best rings bells. "trm" is the soft ping shared by whispers,
// scan start, single racer pass and the idle question.
const std::vector<Sound>& sounds() {
    static const std::vector<Sound> table = {
        {"personenters.wav", {{0.00, 0.14, G5, G5, 0.8, 8}, {0.12, 0.30, C6, C6, 1.0, 7}}},
        {"personleaves.wav", {{0.00, 0.14, C6, C6, 0.8, 8}, {0.12, 0.30, G5, G5, 1.0, 7}}},
        {"fail.wav",
         {{0.00, 0.20, A3, A3, 1.0, 2, Wave::Square}, {0.22, 0.45, F3, F3, 1.0, 2, Wave::Square}}},
        {"pass.wav",
         {{0.00, 0.45, C5, C5, 0.7, 5},
          {0.09, 0.45, E5, E5, 0.7, 5},
          {0.18, 0.45, G5, G5, 0.7, 5},
          {0.27, 0.60, C6, C6, 0.9, 4}}},
        {"trm.wav", {{0.00, 0.40, E6, E6, 1.0, 9}, {0.00, 0.40, E5, E5, 0.3, 9}}},
        {"beep2.wav",
         {{0.00, 0.70, E5, E5, 1.0, 3, Wave::Bell}, {0.45, 0.90, C5, C5, 1.0, 3, Wave::Bell}}},
        {"enterpit.wav", {{0.00, 0.28, 400, 1200, 1.0, 3}, {0.30, 0.12, 1200, 1200, 0.6, 12}}},
        {"leavepit.wav", {{0.00, 0.12, 1200, 1200, 0.6, 12}, {0.14, 0.28, 1200, 400, 1.0, 3}}},
        {"church.wav",
         {{0.00, 1.40, C5, C5, 1.0, 2, Wave::Bell},
          {0.35, 1.40, E5, E5, 1.0, 2, Wave::Bell},
          {0.70, 1.60, G5, G5, 1.0, 1.6, Wave::Bell}}},
        {"dconn.wav",
         {{0.00, 0.16, G4, G4, 1.0, 3, Wave::Square},
          {0.17, 0.16, E4, E4, 1.0, 3, Wave::Square},
          {0.34, 0.40, C4, C4, 1.0, 3, Wave::Square}}},
    };
    return table;
}

} // namespace

int writeSounds(const OutputFolder& out) {
    for (const Sound& sound : sounds())
        saveFile(encodeWav(synthesize(sound.tones)),
                 out.file(QStringLiteral("sounds/") + sound.file));
    return int(sounds().size());
}

} // namespace tarmacia::datagen
