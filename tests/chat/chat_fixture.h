#pragma once
// A started main form on fakes, its chat page loaded and the server
// directory in, with the flag pictures the chat tests use.

#include "support/form_world.h"

#include <gtest/gtest.h>

namespace tarmacia::test {

class ChatWorld : public testing::Test, protected FormWorld {
protected:
    ChatWorld() {
        for (const char* file : {"flags/teams/dfflag.bmp", "flags/teams/gbflag.bmp", "smileybmp/12.bmp",
                                 "smileybmp/20.bmp"})
            writeFile(home / "program" / file, "BM");
        form.form("TForm1").show();
        form.oldButton9Click();
        fakes.clock.advance(10000);
        form.chatPageLoaded();
        fakes.http.respond(platform::fake::FakeHttpGet::page("ok - Main Prim(127.0.0.1/5445)"));
        fakes.view.chatHtml.clear();
    }

    std::filesystem::path client() const { return form.clientFolder(); }
    const std::string& lastHtml() const { return fakes.view.chatHtml.back(); }

};

} // namespace tarmacia::test
