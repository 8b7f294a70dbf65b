#pragma once

#include <QString>
#include <QStringList>

namespace tarmacia::datagen {

class OutputFolder;

inline constexpr int kFlagWidth = 36;
inline constexpr int kFlagHeight = 24;

struct CountryFlags {
    int twoLetter = 0;
    int threeLetter = 0;
    QStringList withoutAlpha3; // two-letter codes that ISO 3166-1 no longer lists
};

// Converts the 16x11 country PNGs named by two-letter codes into 36x24 BMPs
// under flags/other/, once as "gbflag.bmp" and once under the ISO 3166-1
// alpha-3 code as "gbrflag.bmp".
CountryFlags writeCountryFlags(const QString& pngFolder, const QString& iso3166Json,
                               const OutputFolder& out);

// The default flag "df" (flags/teams and flags/other) and the administrator
// picture flags/teams/adflag.gif.
void writeOwnFlags(const OutputFolder& out);

} // namespace tarmacia::datagen
