#pragma once

#include "platform/folder_watch.h"

#include <memory>

namespace tarmacia::platform::qt {

// inotify, one watch per folder (a folder watch reports changes to the files
// in it, content included), its descriptor served by the Qt event loop.
class QtFolderWatch : public FolderWatch {
public:
    QtFolderWatch();
    ~QtFolderWatch() override;
    bool watch(const std::filesystem::path& folder) override;
    void onChanged(Handler handler) override;
    void clear() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tarmacia::platform::qt
