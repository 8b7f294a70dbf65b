#include "platform/linux/ini_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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
    // Closing is where some file systems report a failed write, so it is checked.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// The temporary a rewrite goes to; it is removed unless it replaced the file.
class TempFile {
public:
    TempFile(int fd, fs::path path) : fd(fd), path(std::move(path)) {}
    ~TempFile() {
        if (!committed) ::unlink(path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    Fd fd;
    fs::path path;
    bool committed = false;
};

struct Contents {
    bool exists = false;
    bool complete = true; // false: the file is larger than the limit
    struct stat info {};
    std::string bytes;
    std::string error; // why an existing file could not be read
};

Contents readFile(const fs::path& file, std::size_t limit) {
    Contents c;
    // Non-blocking, so that a pipe put in the file's place cannot hang the client.
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        if (errno != ENOENT) c.error = std::strerror(errno);
        return c;
    }
    if (::fstat(fd.get(), &c.info) != 0) {
        c.error = std::strerror(errno);
        return c;
    }
    if (!S_ISREG(c.info.st_mode)) {
        c.error = "not a regular file";
        return c;
    }
    c.exists = true;
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

// A settings file the user replaced by a link stays a link: the rewrite goes
// to the file it points at.
fs::path resolved(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(file, ec))) return file;
    fs::path target = fs::canonical(file, ec);
    return ec ? file : target;
}

fs::path privateKey(const fs::path& file) {
    std::error_code ec;
    fs::path absolute = fs::absolute(file, ec);
    return (ec ? file : absolute).lexically_normal();
}

void syncFolder(const fs::path& folder) {
    // Makes the rename itself durable; a failure here loses nothing already written.
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

[[noreturn]] void fail(const fs::path& file, const std::string& why) {
    throw IniError("Cannot write settings file " + file.string() + ": " + why);
}

} // namespace

DiskIniFiles::DiskIniFiles(Rename rename) : rename_(std::move(rename)) {}

IniText DiskIniFiles::load(const fs::path& file) const {
    // For reading, a file we cannot read is a missing file: the defaults apply.
    Contents c = readFile(file, kMaxBytes);
    return IniText(c.exists && c.error.empty() ? c.bytes : std::string());
}

bool DiskIniFiles::isPrivate(const fs::path& file) const {
    return private_.count(privateKey(file)) != 0;
}

void DiskIniFiles::edit(const fs::path& file, const std::function<bool(IniText&)>& change) {
    const fs::path target = resolved(file);
    Contents old = readFile(target, kMaxBytes);
    // Rewriting what we could not read in full would lose the rest of it.
    if (!old.error.empty()) fail(file, old.error);
    if (!old.complete) fail(file, "the file is too large to be a settings file");

    IniText text(old.bytes);
    if (!change(text)) return;
    const std::string bytes = text.bytes();

    const bool secret = isPrivate(file);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    fs::path tempPath;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempPath = folder / ("." + target.filename().string() + ".tmp-" +
                             std::to_string(::getpid()) + "-" + std::to_string(counter++));
        // A new ordinary file gets the user's umask, as any file the client creates.
        mode_t createMode = secret || old.exists ? 0600 : 0666;
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) fail(file, std::strerror(errno));
    TempFile temp(fd, tempPath);

    if (old.exists) {
        // Keep the owner when someone else's file is rewritten; best effort,
        // as only root may give a file away.
        [[maybe_unused]] int owned = ::fchown(fd, old.info.st_uid, old.info.st_gid);
    }
    if (secret || old.exists) {
        mode_t mode = secret ? 0600 : old.info.st_mode & 07777;
        if (::fchmod(fd, mode) != 0) fail(file, std::strerror(errno));
    }
    std::string_view rest = bytes;
    while (!rest.empty()) {
        ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(file, std::strerror(errno));
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::fsync(fd) != 0) fail(file, std::strerror(errno));
    if (!temp.fd.close()) fail(file, std::strerror(errno));

    errno = 0;
    if (rename_(temp.path.c_str(), target.c_str()) != 0)
        fail(file, errno != 0 ? std::strerror(errno) : "the file could not be replaced");
    temp.committed = true;
    syncFolder(folder);
}

void DiskIniFiles::removeFile(const fs::path& file) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT)
        throw IniError("Cannot delete settings file " + file.string() + ": " + std::strerror(errno));
}

void DiskIniFiles::markPrivate(const fs::path& file) {
    private_.insert(privateKey(file));
    // A file written before it was marked (or by an older client) is closed now.
    if (::chmod(file.c_str(), 0600) != 0 && errno != ENOENT)
        throw IniError("Cannot protect settings file " + file.string() + ": " +
                       std::strerror(errno));
}

} // namespace tarmacia::platform::os
