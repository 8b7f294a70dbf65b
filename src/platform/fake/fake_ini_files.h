#pragma once
// Settings files in memory, with the same text rules as the disk adapter.
// A test sees and sets a file's bytes exactly as they would be on disk
// (Windows-1252, the file's own line breaks).

#include "platform/ini_file.h"
#include "platform/ini_text.h"

#include <functional>
#include <map>
#include <set>

namespace tarmacia::platform::fake {

class FakeIniFiles : public IniFiles {
public:
    // The next call that would rewrite a file throws IniError and changes
    // nothing, like a failed rename on disk. Calls that change nothing (erasing
    // a missing section) write nothing and so do not fail.
    bool failNextWrite = false;

    std::string text(const std::filesystem::path& file) const; // "" when missing
    void setText(const std::filesystem::path& file, std::string bytes);
    bool exists(const std::filesystem::path& file) const;
    void remove(const std::filesystem::path& file);
    bool isPrivate(const std::filesystem::path& file) const;

    void removeFile(const std::filesystem::path& file) override { remove(file); }
    void markPrivate(const std::filesystem::path& file) override;

protected:
    IniText load(const std::filesystem::path& file) const override;
    void edit(const std::filesystem::path& file,
              const std::function<bool(IniText&)>& change) override;

private:

    std::map<std::filesystem::path, std::string> files_;
    std::set<std::filesystem::path> private_;
};

} // namespace tarmacia::platform::fake
