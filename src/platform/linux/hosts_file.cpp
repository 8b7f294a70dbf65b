#include "platform/linux/hosts_file.h"

#include "platform/linux/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

namespace {

// A HOSTS file is read whole or not at all: a part of it is no use for a
// rewrite or a copy.
Contents readWhole(const fs::path& file, std::size_t limit) {
    Contents c = readFile(file, limit);
    if (c.error.empty() && !c.complete) c.error = "the file is too large";
    return c;
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
    Contents c = readWhole(path_, kMaxBytes);
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
    // /etc/hosts may be a link (to a resolver's or a distribution's file); the
    // rewrite goes to the file it points at and the link stays.
    const fs::path target = resolved(path_);
    Contents old = readWhole(target, kMaxBytes);
    if (!old.error.empty()) return fail(old.error);

    fs::path tempPath;
    const int fd = openTempBeside(target, 0600, tempPath);
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
    if (!writeAll(fd, content)) return fail(std::strerror(errno));
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
    syncFolder(folderOf(target));
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
    if (writeAll(fd.get(), content) &&
        ::ftruncate(fd.get(), static_cast<off_t>(content.size())) == 0 && ::fsync(fd.get()) == 0)
        return fd.close() ? true : fail(std::strerror(errno));
    const std::string why = std::strerror(errno);
    if (writeAll(fd.get(), old)) {
        [[maybe_unused]] int cut = ::ftruncate(fd.get(), static_cast<off_t>(old.size()));
        ::fsync(fd.get());
    }
    return fail(why);
}

bool LinuxHostsFile::copy(const fs::path& from, const fs::path& to) {
    Contents source = readWhole(from, kMaxBytes);
    if (!source.exists) return fail(std::strerror(ENOENT));
    if (!source.error.empty()) return fail(source.error);
    // O_EXCL: a backup that is already there is the user's real one.
    int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return fail(std::strerror(errno));
    NewFile copy(fd, to);
    if (::fchmod(fd, source.info.st_mode & 0777) != 0) return fail(std::strerror(errno));
    if (!writeAll(fd, source.bytes)) return fail(std::strerror(errno));
    if (::fsync(fd) != 0) return fail(std::strerror(errno));
    if (!copy.fd.close()) return fail(std::strerror(errno));
    copy.kept = true;
    syncFolder(folderOf(to));
    return true;
}

} // namespace tarmacia::platform::os
