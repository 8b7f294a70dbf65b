#pragma once
// Settings files on disk. Every call opens, reads or writes, and closes the
// file: nothing is cached, because the user (or a second client) may change
// or delete a file between calls. A rewrite goes to a temporary file in the
// same folder, is flushed to disk and then renamed over the old file, so a
// crash leaves either the old or the new file, never half of one.

#include "platform/ini_file.h"
#include "platform/ini_text.h"

#include <cstdio>
#include <functional>
#include <set>

namespace tarmacia::platform::os {

class DiskIniFiles : public IniFiles {
public:
    using Rename = std::function<int(const char* from, const char* to)>;

    // `rename` replaces the file with the finished temporary; tests make it fail.
    explicit DiskIniFiles(Rename rename = ::rename);

    void removeFile(const std::filesystem::path& file) override;
    void markPrivate(const std::filesystem::path& file) override;

    // Settings files are a few kilobytes; a larger file is read only this far
    // and never rewritten, so that garbage cannot exhaust memory or be cut short.
    static constexpr std::size_t kMaxBytes = 2 * 1024 * 1024;

protected:
    IniText load(const std::filesystem::path& file) const override;
    void edit(const std::filesystem::path& file,
              const std::function<bool(IniText&)>& change) override;

private:
    bool isPrivate(const std::filesystem::path& file) const;

    Rename rename_;
    std::set<std::filesystem::path> private_;
};

} // namespace tarmacia::platform::os
