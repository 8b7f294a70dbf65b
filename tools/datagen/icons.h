#pragma once

namespace tarmacia::datagen {

class OutputFolder;

// The eight toolbar icons (images/icons/*.gif, 24x24) and the please-wait
// animation (images/pleasewait.gif). Returns the number of files written.
int writeIcons(const OutputFolder& out);

} // namespace tarmacia::datagen
