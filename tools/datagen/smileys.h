#pragma once

namespace tarmacia::datagen {

class OutputFolder;

// The smiley palette: "smileybmp/NN.bmp" for the chat input and
// "smileygif/NN.gif" for the chat view. Returns the number of files written.
int writeSmileys(const OutputFolder& out);

} // namespace tarmacia::datagen
