#pragma once
// What the scan needs from the main window. MainForm implements it; tests use
// a small fake.

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "platform/clock.h"
#include "platform/tcp_client.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tarmacia::scan {

class ScanHost {
public:
    virtual ~ScanHost() = default;

    // Ports.
    virtual platform::Network& network() = 0;
    virtual platform::Clock& clock() = 0;
    virtual app::DiagnosticLog& log() = 0;

    // The main window's values the scan reads.
    virtual bool loggedIn() const = 0;
    virtual std::string playerName() const = 0;
    virtual std::string selectedGame() const = 0;                // "PU", "HS", "HP", "XX", ""
    virtual std::filesystem::path gameFolder() const = 0;        // of the selected game
    virtual std::filesystem::path installFolder() const = 0;     // holds filelist2.trm, crcerror.txt
    virtual std::string clientChecksum() const = 0;              // decimal text
    virtual std::string listChecksum() const = 0;                // decimal text
    virtual std::string scanServerHost() const = 0;              // the lobby server's host
    virtual std::string chatColour() const = 0;                  // six hex digits, RRGGBB
    virtual std::string lang(int n) const = 0;                   // language string n

    // What the scan does to the main window.
    virtual void chatLine(const std::string& text) = 0;          // a system line in the chat
    virtual void sendLobby(const std::string& message) = 0;      // one lobby message (UTF-8)
    virtual void resetPuEdition() = 0;                           // PU edition flag := 0
    virtual void setversion(const std::string& versionText) = 0; // version detection
    // The status report. It ends the scan: it must call Scanner::finishReport().
    virtual void showbox() = 0;
    // Shows the box; `done` gets the result of app::messagebox (1 = first button).
    virtual void messagebox(const app::MessageBoxRecord& record, std::function<void(int)> done) = 0;
};

} // namespace tarmacia::scan
