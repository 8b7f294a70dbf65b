#pragma once
// Change notification for folder trees: a change anywhere below a watched
// folder (a file written, made, removed or renamed, a folder made) is reported
// with the watched folder it belongs to.

#include <filesystem>
#include <functional>

namespace tarmacia::platform {

class FolderWatch {
public:
    using Handler = std::function<void(const std::filesystem::path& watchedFolder)>;

    virtual ~FolderWatch() = default;
    // Watches `folder` and every folder below it, including folders made
    // later. False (and nothing watched) when the folder does not exist.
    virtual bool watch(const std::filesystem::path& folder) = 0;
    virtual void onChanged(Handler handler) = 0;
    // Stops watching every folder.
    virtual void clear() = 0;
};

} // namespace tarmacia::platform
