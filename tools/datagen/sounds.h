#pragma once

namespace tarmacia::datagen {

class OutputFolder;

// The wave files named by the default sound events, one distinct sound each.
// Returns the number of files written.
int writeSounds(const OutputFolder& out);

} // namespace tarmacia::datagen
