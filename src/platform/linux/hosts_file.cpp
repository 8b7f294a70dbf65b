#include "platform/linux/hosts_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Some file systems report a failed write only on close.
    bool close() {
        int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// A file this process created; removed again unless it was kept.
class NewFile {
public:
    NewFile(int fd, fs::path path) : fd(fd), path(std::move(path)) {}
    ~NewFile() {
        if (!kept) ::unlink(path.c_str());
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    Fd fd;
    fs::path path;
    bool kept = false;
};

struct Contents {
    bool exists = false;
    struct stat info {};
    std::string bytes;
    std::string error; // set when an existing file could not be read in full
};

Contents readFile(const fs::path& file, std::size_t limit) {
    Contents c;
    // Non-blocking, so that a pipe in the file's place cannot hang the client.
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
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            c.error = std::strerror(errno);
            return c;
        }
        if (n == 0) break;
        c.bytes.append(buffer, static_cast<std::size_t>(n));
        if (c.bytes.size() > limit) {
            c.error = "the file is too large";
            return c;
        }
    }
    return c;
}

bool writeAll(int fd, std::string_view bytes, off_t at) {
    while (!bytes.empty()) {
        ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        at += n;
    }
    return true;
}

// /etc/hosts may be a link (to a resolver's or a distribution's file); the
// rewrite goes to the file it points at and the link stays.
fs::path resolved(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(file, ec))) return file;
    fs::path target = fs::canonical(file, ec);
    return ec ? file : target;
}

fs::path folderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

void syncFolder(const fs::path& folder) {
    // Makes the rename durable; a failure here loses nothing already written.
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

} // namespace

bool LinuxHostsFile::fail(const std::string& why) const {
    error_ = why;
    return false;
}

bool LinuxHostsFile::canRewrite() const {
    // The file itself must be writable; a missing file must be creatable.
    if (::access(path_.c_str(), F_OK) == 0) return ::access(path_.c_str(), W_OK) == 0;
    return ::access(folderOf(path_).c_str(), W_OK) == 0;
}

std::optional<std::string> LinuxHostsFile::read() const {
    Contents c = readFile(path_, kMaxBytes);
    if (!c.exists) {
        fail(std::strerror(ENOENT));
        return std::nullopt;
    }
    if (!c.error.empty()) {
        fail(c.error);
        return std::nullopt;
    }
    return std::move(c.bytes);
}

bool LinuxHostsFile::exists(const fs::path& file) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(file, ec));
}

bool LinuxHostsFile::rewrite(const std::string& content) {
    const fs::path target = resolved(path_);
    Contents old = readFile(target, kMaxBytes);
    if (!old.error.empty()) return fail(old.error);

    const fs::path folder = folderOf(target);
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    fs::path tempPath;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = folder / ("." + target.filename().string() + ".tmp-" +
                             std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        // A user may have been granted write access to /etc/hosts alone
        // (setfacl), with no right to create files in /etc.
        if ((errno == EACCES || errno == EPERM) && old.exists &&
            ::access(target.c_str(), W_OK) == 0)
            return rewriteInPlace(target, old.bytes, content);
        return fail(std::strerror(errno));
    }
    NewFile temp(fd, tempPath);

    if (old.exists) {
        // Keep the owner (root, usually); best effort, as only root may give
        // a file away.
        [[maybe_unused]] int owned = ::fchown(fd, old.info.st_uid, old.info.st_gid);
    }
    // The resolver runs as every user: a new HOSTS file must be readable by all.
    const mode_t mode = old.exists ? old.info.st_mode & 07777 : 0644;
    if (::fchmod(fd, mode) != 0) return fail(std::strerror(errno));
    if (!writeAll(fd, content, 0)) return fail(std::strerror(errno));
    if (::fsync(fd) != 0) return fail(std::strerror(errno));
    if (!temp.fd.close()) return fail(std::strerror(errno));

    errno = 0;
    if (rename_(temp.path.c_str(), target.c_str()) != 0) {
        // A container bind-mounts its /etc/hosts, which cannot be replaced,
        // only written.
        if (errno == EBUSY && old.exists && ::access(target.c_str(), W_OK) == 0)
            return rewriteInPlace(target, old.bytes, content);
        return fail(errno != 0 ? std::strerror(errno) : "the file could not be replaced");
    }
    temp.kept = true;
    syncFolder(folder);
    return true;
}

// Not atomic: a crash in the middle can leave a mix of old and new. It is
// used only where the file cannot be replaced, and only after the whole new
// content is ready; a failed write puts the old content back.
bool LinuxHostsFile::rewriteInPlace(const fs::path& target, const std::string& old,
                                    const std::string& content) {
    Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) return fail(std::strerror(errno));
    // New bytes first, then cut the tail: the file is never empty on the way.
    if (writeAll(fd.get(), content, 0) &&
        ::ftruncate(fd.get(), static_cast<off_t>(content.size())) == 0 && ::fsync(fd.get()) == 0)
        return fd.close() ? true : fail(std::strerror(errno));
    const std::string why = std::strerror(errno);
    if (writeAll(fd.get(), old, 0)) {
        [[maybe_unused]] int cut = ::ftruncate(fd.get(), static_cast<off_t>(old.size()));
        ::fsync(fd.get());
    }
    return fail(why);
}

bool LinuxHostsFile::copy(const fs::path& from, const fs::path& to) {
    Contents source = readFile(from, kMaxBytes);
    if (!source.exists) return fail(std::strerror(ENOENT));
    if (!source.error.empty()) return fail(source.error);
    // O_EXCL: a backup that is already there is the user's real one.
    int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return fail(std::strerror(errno));
    NewFile copy(fd, to);
    if (::fchmod(fd, source.info.st_mode & 0777) != 0) return fail(std::strerror(errno));
    if (!writeAll(fd, source.bytes, 0)) return fail(std::strerror(errno));
    if (::fsync(fd) != 0) return fail(std::strerror(errno));
    if (!copy.fd.close()) return fail(std::strerror(errno));
    copy.kept = true;
    syncFolder(folderOf(to));
    return true;
}

} // namespace tarmacia::platform::os
