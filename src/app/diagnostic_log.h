#pragma once
// The diagnostic log "logfile.trm": one line per entry, no time stamps, the
// file opened and closed for every line so that a crash loses nothing.

#include <filesystem>
#include <string_view>

namespace tarmacia::app {

class DiagnosticLog {
public:
    static constexpr const char* kFileName = "logfile.trm";

    void setFolder(const std::filesystem::path& folder) { path_ = folder / kFileName; }
    const std::filesystem::path& path() const { return path_; }

    void setEnabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }

    // Writes an operation's log label when diagnostic logging is on.
    void label(std::string_view text) {
        if (enabled_) writelogfile(text);
    }
    // Appends one line whether logging is on or not; throws
    // std::filesystem::filesystem_error when the file cannot be written.
    void writelogfile(std::string_view text);
    // Deletes the log; a file that cannot be deleted stays.
    void remove();

private:
    std::filesystem::path path_;
    bool enabled_ = false;
};

} // namespace tarmacia::app
