#pragma once

#include <sys/types.h>

// The plain POSIX file handling behind the files the client rewrites (the
// settings files, the HOSTS file): a descriptor that closes itself, a file we
// created that goes away again unless kept, a bounded read and a full write.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace tarmacia::platform::os {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd();
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Some file systems report a failed write only on close, so it is checked.
    bool close();

private:
    int fd_;
};

// A file this process created (a temporary, a backup); it is removed again
// unless it was kept.
class NewFile {
public:
    NewFile(int fd, std::filesystem::path path) : fd(fd), path(std::move(path)) {}
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    Fd fd;
    std::filesystem::path path;
    bool kept = false;
};

// Creates a new, empty temporary file beside `target` (same folder, so a
// rename can replace the target) with `mode`; its path goes to `tempPath`.
// Returns the descriptor, or -1 with errno set.
int openTempBeside(const std::filesystem::path& target, mode_t mode,
                   std::filesystem::path& tempPath);

struct Contents {
    bool exists = false;   // false: there is no such file
    bool complete = true;  // false: the file is larger than the limit; `bytes` holds its start
    struct stat info {};
    std::string bytes;
    std::string error;     // why an existing file could not be read
};

// Reads a regular file, up to `limit` bytes of it.
Contents readFile(const std::filesystem::path& file, std::size_t limit);

// Writes all of `bytes` from the start of the file, through interrupted and
// short writes. False on failure, with errno telling why.
bool writeAll(int fd, std::string_view bytes);

// The folder a file is in, "." for a bare file name.
std::filesystem::path folderOf(const std::filesystem::path& file);

// A file replaced by a link stays a link: a rewrite goes to the file it points
// at. The file itself when it is no link or the link leads nowhere.
std::filesystem::path resolved(const std::filesystem::path& file);

// Makes a rename in `folder` durable; best effort.
void syncFolder(const std::filesystem::path& folder);

} // namespace tarmacia::platform::os
