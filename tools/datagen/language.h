#pragma once

#include <QString>

namespace tarmacia::datagen {

// Builds a ".uni" language file from its editable source. The source is UTF-8
// text, one "N: text" entry a line ("#" starts a comment); entry 0 is the
// header line and entry N (string N) becomes line N + 1. Numbers the source
// skips become empty lines. The result is UTF-16 little-endian with a byte
// order mark and CR LF line ends, as the client reads and writes it.
// Returns the highest string number.
int writeLanguage(const QString& sourcePath, const QString& targetPath);

} // namespace tarmacia::datagen
