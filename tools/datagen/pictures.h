#pragma once

#include <QString>

namespace tarmacia::datagen {

class OutputFolder;

// The race pictures ("images/<game>race.jpg" and the "xx" fallback), the
// login banner pictures, the game list pictures of the game path editor and
// the page backgrounds named by the default style sheet. Returns the count.
int writeGamePictures(const OutputFolder& out);

// "images/default.jpg" for the built-in style and one preview per ".style"
// file in `themeFolder`, each drawn from the style's own colours.
int writeThemePreviews(const QString& themeFolder, const OutputFolder& out);

} // namespace tarmacia::datagen
