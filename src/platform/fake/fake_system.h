#pragma once
// Fakes of the small machine-facing ports: folders and the HOSTS file.

#include "platform/folders.h"
#include "platform/hosts_file.h"

#include <map>
#include <optional>
#include <string>

namespace tarmacia::platform::fake {

class FakeFolders : public Folders {
public:
    std::filesystem::path documentsPath;
    std::filesystem::path programPath;
    bool writable = true;
    std::filesystem::path executablePath;

    std::filesystem::path documents() const override { return documentsPath; }
    std::filesystem::path executable() const override { return executablePath; }
    std::filesystem::path program() const override { return programPath; }
    bool programWritable() const override { return writable; }
};

// The HOSTS file and the files beside it, in memory.
class FakeHostsFile : public HostsFile {
public:
    std::filesystem::path file = "/nonexistent/hosts";
    bool rewritable = true;
    // Every file by path; the HOSTS file is files[file].
    std::map<std::filesystem::path, std::string> files;
    bool failRead = false;    // the file is there but cannot be read
    bool failRewrite = false; // every rewrite fails; the file stays as it was
    bool failCopy = false;
    int rewrites = 0;         // successful rewrites
    std::string error = "Permission denied";

    std::optional<std::string> content() const {
        auto it = files.find(file);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    void setContent(std::string bytes) { files[file] = std::move(bytes); }

    std::filesystem::path path() const override { return file; }
    bool canRewrite() const override { return rewritable; }
    std::optional<std::string> read() const override {
        if (failRead) {
            last_ = error;
            return std::nullopt;
        }
        auto bytes = content();
        if (!bytes) last_ = "No such file or directory";
        return bytes;
    }
    bool rewrite(const std::string& bytes) override {
        if (failRewrite || !rewritable) {
            last_ = error;
            return false;
        }
        files[file] = bytes;
        ++rewrites;
        return true;
    }
    bool exists(const std::filesystem::path& path) const override { return files.count(path) != 0; }
    bool copy(const std::filesystem::path& from, const std::filesystem::path& to) override {
        auto it = files.find(from);
        if (failCopy || it == files.end() || files.count(to) != 0) {
            last_ = error;
            return false;
        }
        files[to] = it->second;
        return true;
    }
    std::string lastError() const override { return last_; }

private:
    mutable std::string last_;
};

} // namespace tarmacia::platform::fake
