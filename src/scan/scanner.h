#pragma once
// The game file scan as a step machine on the event thread: connect to the
// scan server, identify, take its verdict, then check every file of the
// game's list against the scan file list and post the status report.

#include "platform/clock.h"
#include "platform/folder_watch.h"
#include "platform/tcp_client.h"
#include "protocol/lobby_link.h"
#include "protocol/passenc.h"
#include "scan/scan_file_list.h"
#include "scan/scan_host.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tarmacia::scan {

class Scanner {
public:
    static constexpr std::uint16_t kScanPort = 5447;
    static constexpr int kIdentifyPosition = 99;
    static constexpr int kReplyDelayMs = 100;

    explicit Scanner(ScanHost& host, protocol::PrefixSource prefixes = protocol::randomPrefixSource());
    ~Scanner();
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    // Start-up: reads filelist2.trm from the install folder.
    bool loadscanfile();
    // Start-up, when the current game is PU: watches the game folder's FEdata
    // and gamedata trees (those that exist) for swapped files.
    void watchSwapFolders(platform::FolderWatch& watch);

    // A scan button (after the caller set the selected game and its folder).
    void ScanClick();
    // One step; the socket's connect event and the 100 ms timer run it too.
    void newcrcscan();
    void scanresults(const std::string& line);
    void crcmess(const std::string& text);
    std::string checkscan(std::string_view name, std::string_view checksumText) const;
    // Called by the status report: the scan is over, its connection closed.
    void finishReport();

    // Files of the list handled per event-loop turn at most, and the time
    // after which a turn yields; keeps the window responsive on a slow disk.
    void setSlice(int maxFiles, int maxMs) {
        sliceFiles_ = maxFiles;
        sliceMs_ = maxMs;
    }
    // Any scan value changed (progress, failed list, flags).
    void onChanged(std::function<void()> handler) { changed_ = std::move(handler); }

    // The scan values.
    int scanState() const { return state_; }
    int scanPosition() const { return position_; }
    int inProgress() const { return inProgress_; }
    const std::string& lastScannedGame() const { return lastScannedGame_; }
    int defaultGameWarningGiven() const { return defaultWarning_; }
    const std::vector<std::string>& failedFiles() const { return failed_; }
    int errorCount() const { return errors_; }
    std::string errorCountText() const { return std::to_string(errors_); }
    const std::string& failedScanField() const { return failedScanField_; }
    void setFailedScanField(std::string digits) { failedScanField_ = std::move(digits); }
    int scanFailed() const { return scanFailed_; }
    // The race monitor's quiet re-check sets it too.
    void setScanFailed(int flag) { scanFailed_ = flag; }
    const std::string& swapFolder() const { return swapFolder_; }
    void setSwapFolder(std::string folder) { swapFolder_ = std::move(folder); }
    // The race monitor's quiet re-check shares the position and the list.
    void setScanPosition(int position) { position_ = position; }
    void clearFailures() {
        failed_.clear();
        errors_ = 0;
    }
    void addFailure(const std::string& name) {
        failed_.push_back(name);
        ++errors_;
    }
    const std::string& lastScanReply() const { return lastReply_; }
    const ScanFileList& fileList() const { return list_; }
    // Files checked and files in the list of the scan under way (or the last one).
    std::pair<int, int> progress() const;

private:
    void openConnection();
    void closeConnection();
    void sendIdentification();
    void onRead();
    void onReplyTimer();
    void runFileSlice(unsigned run);
    void notify();

    ScanHost& host_;
    protocol::PrefixSource prefixes_;
    ScanFileList list_;

    std::unique_ptr<platform::TcpClient> socket_;
    std::unique_ptr<platform::TcpClient> retired_; // may still be inside its own event
    protocol::LobbyLink link_;
    std::unique_ptr<platform::Timer> replyTimer_;
    std::unique_ptr<platform::Timer> sliceTimer_;
    unsigned run_ = 0; // a new scan makes the slices of an older one stale
    int filesDone_ = 0;
    int sliceFiles_ = 16;
    int sliceMs_ = 40;
    std::function<void()> changed_;

    int state_ = 0;
    int position_ = kIdentifyPosition;
    int inProgress_ = 0;
    std::string lastScannedGame_;
    int defaultWarning_ = 0;
    std::vector<std::string> failed_;
    int errors_ = 0;
    std::string failedScanField_ = "0";
    int scanFailed_ = 0;
    std::string swapFolder_;
    std::string lastReply_;
};

} // namespace tarmacia::scan
