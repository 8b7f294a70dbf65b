#pragma once
// A main window for the scan: records what the scan does to it.

#include "app/diagnostic_log.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_network.h"
#include "scan/scan_host.h"
#include "scan/scanner.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarmacia::test {

struct FakeScanHost : scan::ScanHost {
    platform::fake::FakeClock fakeClock;
    platform::fake::FakeNetwork fakeNetwork;
    app::DiagnosticLog diagnostics;

    bool isLoggedIn = true;
    std::string player = "Speedy";
    std::string game = "PU";
    std::filesystem::path folder;
    std::filesystem::path install;
    std::string clientSum = "1234567890";
    std::string listSum = "42";
    std::string server = "lobby.example";
    std::string colour = "FF8000";

    std::vector<std::string> chat;
    std::vector<std::string> lobby;
    std::vector<std::string> versions;
    std::vector<app::MessageBoxRecord> boxes;
    int boxAnswer = 1;
    int reports = 0;
    int puEditionResets = 0;
    scan::Scanner* scanner = nullptr; // the report ends the scan, as the real one does

    platform::Network& network() override { return fakeNetwork; }
    platform::Clock& clock() override { return fakeClock; }
    app::DiagnosticLog& log() override { return diagnostics; }
    bool loggedIn() const override { return isLoggedIn; }
    std::string playerName() const override { return player; }
    std::string selectedGame() const override { return game; }
    std::filesystem::path gameFolder() const override { return folder; }
    std::filesystem::path installFolder() const override { return install; }
    std::string clientChecksum() const override { return clientSum; }
    std::string listChecksum() const override { return listSum; }
    std::string scanServerHost() const override { return server; }
    std::string chatColour() const override { return colour; }
    std::string lang(int n) const override { return "L" + std::to_string(n); }
    void chatLine(const std::string& text) override { chat.push_back(text); }
    void sendLobby(const std::string& message) override { lobby.push_back(message); }
    void resetPuEdition() override { ++puEditionResets; }
    void setversion(const std::string& text) override { versions.push_back(text); }
    void showbox() override {
        ++reports;
        if (scanner) scanner->finishReport();
    }
    void messagebox(const app::MessageBoxRecord& record, std::function<void(int)> done) override {
        boxes.push_back(record);
        done(boxAnswer);
    }
};

} // namespace tarmacia::test
