#pragma once
// Ends the Qt event loop on SIGINT and SIGTERM, so that the sandbox closes
// its files and sockets instead of dying in the middle of a write.

namespace sandbox {

// Call once, after the QCoreApplication exists. False when the signal pipe
// cannot be set up.
bool quitOnTerminationSignals();

} // namespace sandbox
