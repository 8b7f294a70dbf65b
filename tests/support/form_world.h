#pragma once
// The main form over fakes, with a temporary home. The folders are placed
// before the form exists: it places its log and client folder from them.

#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "support/temp_dir.h"

namespace tarmacia::test {

// Puts the documents and program folders of `fakes` into `home`.
struct PlacedFolders {
    PlacedFolders(platform::fake::FakePorts& fakes, const TempDir& home) {
        fakes.folders.documentsPath = home / "Documents";
        fakes.folders.programPath = home / "program";
    }
};

struct FormWorld {
    TempDir home;
    platform::fake::FakePorts fakes;

private:
    PlacedFolders folders_{fakes, home};

public:
    app::MainForm form{fakes.ports()};

    // The start-up as the player sees it: the main window shown, the chat
    // page loaded ten seconds in, the server directory answered.
    void startUp(const std::string& directory = "ok - Main Prim(127.0.0.1/5445)") {
        form.form("TForm1").show();
        form.oldButton9Click();
        fakes.clock.advance(10000);
        form.chatPageLoaded();
        fakes.http.respond(platform::fake::FakeHttpGet::page(directory));
        fakes.view.chatHtml.clear();
    }
    // Logs in as `name` and has the lobby accept the connection.
    platform::fake::FakeTcpClient& logIn(const std::string& name, const std::string& password = "pw") {
        form.Edit1Change(name);
        form.setLoginPassword(password);
        form.LoginClick();
        auto& socket = fakes.network.last();
        socket.accept();
        return socket;
    }
};

} // namespace tarmacia::test
