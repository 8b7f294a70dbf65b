#include "scan/scanner.h"

#include "common/text.h"
#include "platform/paths.h"
#include "scan/crc.h"
#include "scan/scan_lists.h"

#include <stdexcept>
#include <system_error>

namespace tarmacia::scan {
namespace {

bool isExecutable(const std::string& name) {
    const std::string upper = toUpper(name);
    return upper == "PORSCHE.EXE" || upper == "NFSHS.EXE" || upper == "NFSHP2.EXE";
}

} // namespace

Scanner::Scanner(ScanHost& host, protocol::PrefixSource prefixes)
    : host_(host), prefixes_(std::move(prefixes)) {
    replyTimer_ = host_.clock().createTimer();
    replyTimer_->setSingleShot(true);
    replyTimer_->setInterval(kReplyDelayMs);
    replyTimer_->onTimeout([this] { onReplyTimer(); });
    sliceTimer_ = host_.clock().createTimer();
    sliceTimer_->setSingleShot(true);
    sliceTimer_->setInterval(0);
}

Scanner::~Scanner() {
    if (socket_) socket_->setEvents({});
}

bool Scanner::loadscanfile() {
    host_.log().label("Load Scan File");
    return list_.loadscanfile(host_.installFolder() / ScanFileList::kFileName);
}

void Scanner::watchSwapFolders(platform::FolderWatch& watch) {
    const auto feData = platform::resolvePath(host_.gameFolder(), "FEdata");
    const auto gameData = platform::resolvePath(host_.gameFolder(), "gamedata");
    watch.clear();
    watch.onChanged([this, feData](const std::filesystem::path& folder) {
        const bool first = folder == feData;
        host_.log().label(first ? "Folder Monitor1" : "Folder Monitor2");
        swapFolder_ = first ? "FEData" : "GameData";
        // A file changed under the game after its scan: the player stays
        // blocked until a scan comes back clean.
        scanFailed_ = 1;
        notify();
    });
    watch.watch(feData);
    watch.watch(gameData);
}

void Scanner::ScanClick() {
    host_.log().label("Start Scan");
    if (!host_.loggedIn()) return;
    inProgress_ = 1;
    const std::string game = host_.selectedGame();
    // The scan-failed flag is left alone here: only the end of a scan (or a
    // swapped file) changes it, so starting a scan never lets a failed
    // player through.
    if (hasScanList(game)) {
        ++run_;
        sliceTimer_->stop();
        failed_.clear();
        errors_ = 0;
        filesDone_ = 0;
        failedScanField_ = "0";
        state_ = 0;
        position_ = kIdentifyPosition;
        lastScannedGame_ = game;
        notify();
        newcrcscan();
        host_.chatLine(game + " - Scan Started - Please Wait");
    } else if (!game.empty()) {
        host_.showbox();
    } else if (defaultWarning_ == 0) {
        host_.showbox();
        app::MessageBoxRecord box;
        box.kind = "info";
        box.line1 = "No default game set";
        box.line2 = "Please set Game Path and Default then restart Tarmacia";
        box.line3 = "Press OK to continue";
        box.button1 = "OK";
        host_.messagebox(box, [this](int result) {
            if (result == 1) defaultWarning_ = 1;
        });
    } else {
        // Nothing runs, so nothing would ever clear the flag and joining
        // would stay blocked.
        inProgress_ = 0;
    }
}

void Scanner::newcrcscan() {
    host_.log().label("New CRC Scan");
    host_.resetPuEdition();
    failedScanField_ = "0";

    if (state_ == 0) {
        closeConnection();
        openConnection();
        state_ = 1;
        return;
    }

    // The identification step starts the scan's failure count afresh; it does
    // so before a swap error is added, so that the swap error counts.
    if (position_ == kIdentifyPosition) {
        failed_.clear();
        errors_ = 0;
    }
    if (!swapFolder_.empty()) {
        crcmess("File Swap Error Detected - " + swapFolder_);
        app::MessageBoxRecord box;
        box.title = host_.lang(15);
        box.kind = "warn";
        box.line1 = host_.lang(483) + " - " + swapFolder_;
        box.line2 = host_.lang(458);
        box.button1 = host_.lang(459);
        host_.messagebox(box, [](int) {});
        swapFolder_.clear();
        ++errors_;
        failed_.push_back("File Swap Error");
        notify();
    }

    if (position_ == kIdentifyPosition) {
        std::error_code ignored;
        std::filesystem::remove(host_.installFolder() / "crcerror.txt", ignored);
        notify();
        sendIdentification();
        return;
    }

    if (position_ > kIdentifyPosition && hasScanList(host_.selectedGame())) {
        replyTimer_->stop();
        runFileSlice(run_);
    }
}

void Scanner::runFileSlice(unsigned run) {
    if (run != run_ || position_ <= kIdentifyPosition) return;
    const std::string game = host_.selectedGame();
    const int end = scanEnd(game);
    if (end == 0) return;

    const std::int64_t started = host_.clock().nowMs();
    for (int files = 0; position_ < end; ++files) {
        if (files >= sliceFiles_ || host_.clock().nowMs() - started >= sliceMs_) {
            sliceTimer_->onTimeout([this, run] { runFileSlice(run); });
            sliceTimer_->start();
            notify();
            return;
        }
        host_.log().label("Get next Scan File");
        const std::string relative = getnextfile(game, position_);
        host_.log().label("Get CRC");
        const std::uint32_t crc = getcrc(platform::resolvePath(host_.gameFolder(), relative));
        ++position_;
        ++filesDone_;
        // HP keeps its car folder in the name until checkscan cuts it.
        std::string name = relative;
        if (game != "HP") name = relative.substr(relative.rfind('\\') + 1);
        scanresults(checkscan(name, std::to_string(crc)));
        if (run != run_) return; // a handler started another scan
    }

    // The flag follows the scan's own result.
    scanFailed_ = errors_ > 0 ? 1 : 0;
    position_ = kIdentifyPosition;
    notify();
    host_.showbox();
}

void Scanner::finishReport() {
    inProgress_ = 0;
    closeConnection();
    state_ = 0;
    notify();
}

std::string Scanner::checkscan(std::string_view name, std::string_view checksumText) const {
    host_.log().label("Check Scan");
    return list_.checkscan(host_.selectedGame(), name, checksumText);
}

void Scanner::scanresults(const std::string& line) {
    host_.log().label("Scan Results");
    const Verdict verdict = splitVerdict(line);
    if (isExecutable(verdict.name)) host_.setversion(verdict.text);
    if (verdict.status != "yesok") {
        host_.chatLine(verdict.name + " - Failed Scan");
        failed_.push_back(verdict.name);
        ++errors_;
        notify();
    }
}

void Scanner::crcmess(const std::string& text) {
    host_.log().label("CRC Message");
    host_.sendLobby("~2~" + host_.playerName() + ":  " + text + "\xC2\xAC" + host_.chatColour());
}

std::pair<int, int> Scanner::progress() const {
    const int end = scanEnd(lastScannedGame_);
    return {filesDone_, end == 0 ? 0 : end - kFirstFileIndex};
}

void Scanner::openConnection() {
    socket_ = host_.network().createTcpClient();
    platform::TcpClient::Events events;
    events.connected = [this] { newcrcscan(); };
    events.readable = [this] { onRead(); };
    events.error = [](const std::string& message) { throw std::runtime_error("Scan socket: " + message); };
    socket_->setEvents(std::move(events));
    link_.attach(socket_.get());
    socket_->connectTo(host_.scanServerHost(), kScanPort);
}

void Scanner::closeConnection() {
    replyTimer_->stop();
    if (!socket_) return;
    socket_->setEvents({});
    socket_->close();
    link_.attach(nullptr);
    retired_ = std::move(socket_);
}

void Scanner::sendIdentification() {
    const std::string text = "tarmaciav5.exe~" + host_.clientChecksum() + "~filelist2.trm~" + host_.listChecksum() +
                             "~" + host_.playerName() + "~";
    link_.send(protocol::passenc(text, prefixes_));
}

void Scanner::onRead() {
    host_.log().label("Connect Client Socket 2");
    lastReply_ = link_.read();
    scanresults(lastReply_);
    // Only the first read moves on to the files: a reply split over several
    // reads must not skip files of the list.
    if (position_ == kIdentifyPosition) ++position_;
    replyTimer_->start();
}

void Scanner::onReplyTimer() {
    host_.log().label("Timer 6 Activated");
    if (socket_ && socket_->isConnected()) {
        closeConnection();
        state_ = 2;
    }
    newcrcscan();
}

void Scanner::notify() {
    if (changed_) changed_();
}

} // namespace tarmacia::scan
