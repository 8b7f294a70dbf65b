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
        startUp();
    }

    std::filesystem::path client() const { return form.clientFolder(); }
    const std::string& lastHtml() const { return fakes.view.chatHtml.back(); }

};

} // namespace tarmacia::test
