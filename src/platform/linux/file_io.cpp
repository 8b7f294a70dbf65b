#include "platform/linux/file_io.h"

#include <string>

#include <atomic>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

Fd::~Fd() {
    if (fd_ >= 0) ::close(fd_);
}

bool Fd::close() {
    int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0;
}

NewFile::~NewFile() {
    if (!kept) ::unlink(path.c_str());
}

Contents readFile(const fs::path& file, std::size_t limit) {
    Contents c;
    // Non-blocking, so that a pipe put in the file's place cannot hang the client.
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        if (errno != ENOENT) {
            c.exists = true;
            c.error = std::strerror(errno);
        }
        return c;
    }
    c.exists = true;
    if (::fstat(fd.get(), &c.info) != 0) {
        c.error = std::strerror(errno);
        return c;
    }
    if (!S_ISREG(c.info.st_mode)) {
        c.error = "not a regular file";
        return c;
    }
    char buffer[65536];
    while (c.bytes.size() <= limit) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            c.error = std::strerror(errno);
            return c;
        }
        if (n == 0) break;
        c.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    if (c.bytes.size() > limit) {
        c.complete = false;
        c.bytes.resize(limit);
    }
    return c;
}

bool writeAll(int fd, std::string_view bytes) {
    // pwrite, not write: putting old content back after a failed in-place
    // write must start at the beginning again, wherever the failure left off.
    off_t at = 0;
    while (!bytes.empty()) {
        ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        at += n;
    }
    return true;
}

fs::path folderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

fs::path resolved(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(file, ec))) return file;
    fs::path target = fs::canonical(file, ec);
    return ec ? file : target;
}

void syncFolder(const fs::path& folder) {
    // A failure here loses nothing already written.
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

int openTempBeside(const fs::path& target, mode_t mode, fs::path& tempPath) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = folderOf(target);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = folder / ("." + target.filename().string() + ".tmp-" +
                             std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) break;
    }
    return fd;
}

} // namespace tarmacia::platform::os
