#pragma once
// Points the race host name "tarmacia" at the race host through the HOSTS
// file. Only our two lines are ours: the marker line and the entry after it.
// Every other line is the user's and stays where it is, byte for byte.

#include "platform/hosts_file.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tarmacia::races {

// What ipsetup did, for the caller to report.
struct HostsSetup {
    // The entry was read back in place: the race counter becomes 1, else 0.
    bool inPlace = false;
    // Reading or writing the HOSTS file failed, with this text. The player
    // sees "<name>: Hosts <error>" and the same goes to the lobby as "~2~".
    std::string error;
    // For the log only: a refused address or a backup that could not be made.
    std::string note;
    bool backupMade = false;

    // Nothing failed, yet the entry is not there: "Unable to create HOSTS file".
    bool unableToCreate() const { return !inPlace && error.empty(); }
};

class HostsRedirect {
public:
    static constexpr std::string_view kMarker = "#tarmacia setup";
    static constexpr std::string_view kHostName = "tarmacia";
    static constexpr std::string_view kLoopback = "127.0.0.1";

    explicit HostsRedirect(platform::HostsFile& hosts) : hosts_(hosts) { sethostpath(); }

    // Finds the HOSTS file (the port knows it: /etc/hosts or the configured file).
    void sethostpath();
    const std::filesystem::path& hostsPath() const { return path_; }
    const std::filesystem::path& hostsFolder() const { return folder_; }
    std::filesystem::path backupPath() const { return path_.string() + ".bak"; }

    // Points "tarmacia" at `address` (an IPv4 or IPv6 literal).
    HostsSetup ipsetup(const std::string& address);
    // When a race ends the name points back at this machine.
    HostsSetup restoreLoopback() { return ipsetup(std::string(kLoopback)); }

    // The file's bytes with our two lines set to `address`: replaced where
    // they were (later stale copies dropped) or appended at the end, in the
    // file's own line-ending style.
    static std::string withEntry(std::string_view file, std::string_view address);
    static bool hasMarker(std::string_view file);
    // Our marker followed by the entry for exactly `address`.
    static bool hasEntry(std::string_view file, std::string_view address);
    // Only a literal address goes into the file: the payload comes from the
    // lobby, and a host name or a line break there would be written as is.
    static bool validAddress(const std::string& address);

private:
    platform::HostsFile& hosts_;
    std::filesystem::path path_;
    std::filesystem::path folder_;
};

} // namespace tarmacia::races
