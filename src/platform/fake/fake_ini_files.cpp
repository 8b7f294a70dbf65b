#include "platform/fake/fake_ini_files.h"

namespace tarmacia::platform::fake {
namespace fs = std::filesystem;

namespace {
fs::path keyOf(const fs::path& file) {
    return file.lexically_normal();
}
} // namespace

std::string FakeIniFiles::text(const fs::path& file) const {
    auto it = files_.find(keyOf(file));
    return it == files_.end() ? std::string() : it->second;
}

void FakeIniFiles::setText(const fs::path& file, std::string bytes) {
    files_[keyOf(file)] = std::move(bytes);
}

bool FakeIniFiles::exists(const fs::path& file) const {
    return files_.count(keyOf(file)) != 0;
}

void FakeIniFiles::remove(const fs::path& file) {
    files_.erase(keyOf(file));
}

bool FakeIniFiles::isPrivate(const fs::path& file) const {
    return private_.count(keyOf(file)) != 0;
}

IniText FakeIniFiles::load(const fs::path& file) const {
    return IniText(text(file));
}

void FakeIniFiles::edit(const fs::path& file, const std::function<bool(IniText&)>& change) {
    IniText edited = load(file);
    if (!change(edited)) return;
    if (failNextWrite) {
        failNextWrite = false;
        throw IniError("Cannot write settings file " + file.string() + ": failing on purpose");
    }
    setText(file, edited.bytes());
}

void FakeIniFiles::markPrivate(const fs::path& file) {
    private_.insert(keyOf(file));
}

} // namespace tarmacia::platform::fake
