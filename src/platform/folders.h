#pragma once
// Where the client finds its folders on this machine.

#include <filesystem>

namespace tarmacia::platform {

class Folders {
public:
    virtual ~Folders() = default;
    // The user's documents folder (XDG documents, usually ~/Documents).
    virtual std::filesystem::path documents() const = 0;
    // Where the installed program data lives (flags, sounds, style sheets...);
    // in a build tree, the build's data folder.
    virtual std::filesystem::path program() const = 0;
    // This program's executable; its checksum identifies the client build.
    virtual std::filesystem::path executable() const = 0;
    // Whether this user may create files in the program folder.
    virtual bool programWritable() const = 0;
};

} // namespace tarmacia::platform
