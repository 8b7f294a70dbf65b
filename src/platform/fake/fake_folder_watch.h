#pragma once
// A folder watch the test triggers by hand.

#include "platform/folder_watch.h"
#include "platform/guard.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tarmacia::platform::fake {

class FakeFolderWatch : public FolderWatch {
public:
    std::vector<std::filesystem::path> watched;
    // Like the real watch, a folder that does not exist is refused.
    bool requireExisting = true;

    bool watch(const std::filesystem::path& folder) override {
        if (requireExisting && !std::filesystem::is_directory(folder)) return false;
        watched.push_back(folder);
        return true;
    }
    void onChanged(Handler handler) override { handler_ = std::move(handler); }
    void clear() override { watched.clear(); }

    // A change at `path`: reported for the watched folder that contains it.
    void trigger(const std::filesystem::path& path) {
        for (const auto& folder : watched) {
            auto [end, _] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
            if (end == folder.end() && handler_) {
                guarded([&] { handler_(folder); });
                return;
            }
        }
    }

private:
    Handler handler_;
};

} // namespace tarmacia::platform::fake
