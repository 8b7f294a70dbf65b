#pragma once
// The race monitor's way into the running game: finding its process by
// executable name, reading blocks of its memory, the PU guard (PU is only
// read when it is the very process the client launched), and cleaning up a
// PU window whose process has gone.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarmacia::platform {
class ProcessMemory;
class ProcessTable;
class WindowList;
} // namespace tarmacia::platform

namespace tarmacia::monitor {

// What the access layer needs from the main window, game launch and the
// monitor window.
class ProcessAccessHost {
public:
    virtual ~ProcessAccessHost() = default;
    // "PU", "HS", "HP", "PT".
    virtual std::string gameBeingMonitored() const = 0;
    virtual int launchedPid() const = 0;
    virtual void makesound(int number) = 0;
    virtual bool KillTask(std::string_view name) = 0;
    virtual void KillProcess(unsigned long window) = 0;
    virtual void stopStatusTimer() = 0;
    virtual void showMessage(const std::string& text) = 0;
    // Once per monitor session, the first time the system refuses a read:
    // accessProblem() text, for the log and one chat line.
    virtual void accessRefused(const std::string& text) = 0;
};

// The game folder followed by the executable the monitor follows; "" for
// PT (the player starts it; nothing is read). HS runs nfshsgame.exe when
// that file is in the game folder.
std::string monitoredExecutable(std::string_view game, const std::string& gameFolder,
                                int puEdition);

class ProcessAccess {
public:
    enum Status : std::uint16_t {
        kRead = 0,
        kNoProcess = 1,
        kRefused = 2, // PU not launched by us: ended, sound 2
        kReadFailed = 3,
    };

    ProcessAccess(ProcessAccessHost& host, platform::ProcessTable& processes,
                  platform::ProcessMemory& memory, platform::WindowList& windows);

    // The monitor opens for a race whose game runs `executable`
    // (monitoredExecutable); a refused read is announced again.
    void reset(std::string executable);
    const std::string& executable() const { return executable_; }

    std::uint16_t ReadProcessMem(std::string_view path, std::string& buffer, std::size_t& bytesRead,
                                 std::uint64_t address, std::size_t size);
    int getprocesspid(std::string_view path) const;
    int checkprocess(std::string_view name);
    void findpu();
    // PU only: the path-table address, read from the monitored executable
    // (0 when unreadable or not yet set by the game).
    void geticaddy(std::int32_t& address);
    bool pathTableAddressRead = false;

    // The HP anchor in the game running `path`, or none.
    std::optional<std::uint64_t> hp2anchor(std::string_view path);

    // Why the system forbids reading the game ("" while it does not): the
    // whole sentence for the player, without a chat colour tag.
    const std::string& accessProblem() const { return problem_; }

private:
    void refuse();
    void noteRefusal();

    ProcessAccessHost& host_;
    platform::ProcessTable& processes_;
    platform::ProcessMemory& memory_;
    platform::WindowList& windows_;
    std::string executable_;
    std::string problem_;
    bool announced_ = false;
};

} // namespace tarmacia::monitor
