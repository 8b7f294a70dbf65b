#include "platform/linux/ini_file.h"

#include "platform/linux/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

namespace {

fs::path privateKey(const fs::path& file) {
    std::error_code ec;
    fs::path absolute = fs::absolute(file, ec);
    return (ec ? file : absolute).lexically_normal();
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
    // A settings file the user replaced by a link stays a link.
    const fs::path target = resolved(file);
    Contents old = readFile(target, kMaxBytes);
    // Rewriting what we could not read in full would lose the rest of it.
    if (!old.error.empty()) fail(file, old.error);
    if (!old.complete) fail(file, "the file is too large to be a settings file");

    IniText text(old.bytes);
    if (!change(text)) return;
    const std::string bytes = text.bytes();

    const bool secret = isPrivate(file);
    // A new ordinary file gets the user's umask, as any file the client creates.
    fs::path tempPath;
    const int fd = openTempBeside(target, secret || old.exists ? 0600 : 0666, tempPath);
    if (fd < 0) fail(file, std::strerror(errno));
    NewFile temp(fd, tempPath);

    if (old.exists) {
        // Keep the owner when someone else's file is rewritten; best effort,
        // as only root may give a file away.
        [[maybe_unused]] int owned = ::fchown(fd, old.info.st_uid, old.info.st_gid);
    }
    if (secret || old.exists) {
        mode_t mode = secret ? 0600 : old.info.st_mode & 07777;
        if (::fchmod(fd, mode) != 0) fail(file, std::strerror(errno));
    }
    if (!writeAll(fd, bytes)) fail(file, std::strerror(errno));
    if (::fsync(fd) != 0) fail(file, std::strerror(errno));
    if (!temp.fd.close()) fail(file, std::strerror(errno));

    errno = 0;
    if (rename_(temp.path.c_str(), target.c_str()) != 0)
        fail(file, errno != 0 ? std::strerror(errno) : "the file could not be replaced");
    temp.kept = true;
    syncFolder(folderOf(target));
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
