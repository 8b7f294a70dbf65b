// Makes a stand-in Porsche Unleashed installation for trying the client
// without the game: every file the scan checks, a "porsche.exe" that runs
// natively and just waits, and the scan file list that knows them all.
//
//   tarmacia-sandbox-game GAME_FOLDER LIST_FILE [FAKE_GAME]
//
// With FAKE_GAME (tarmacia-fakegame), that program stands in as the game, so
// the race monitor has a game to follow.

#include "protocol/passenc.h"
#include "scan/crc.h"
#include "scan/scan_lists.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;
using namespace tarmacia;

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: tarmacia-sandbox-game GAME_FOLDER LIST_FILE [FAKE_GAME]\n";
        return 2;
    }
    const fs::path fakeGame = argc == 4 ? fs::path(argv[3]) : fs::path();
    const fs::path game = argv[1];
    const fs::path listFile = argv[2];
    std::string list;
    for (int index = 100; index < scan::scanEnd("PU"); ++index) {
        const std::string relative = scan::getnextfile("PU", index);
        std::string path = relative.substr(1);
        std::replace(path.begin(), path.end(), '\\', '/');
        const fs::path file = game / path;
        fs::create_directories(file.parent_path());
        const std::string name = relative.substr(relative.rfind('\\') + 1);
        const bool executable = name == "Porsche.exe";
        if (executable && !fakeGame.empty()) {
            fs::copy_file(fakeGame, file, fs::copy_options::overwrite_existing);
        } else {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            // The game stands in as a native program that waits to be ended;
            // it keeps its own name, so the client can find and end it.
            out << (executable ? "#!/bin/sh\ntrap 'exit 0' TERM\nwhile :; do sleep 1; done\n"
                               : "sandbox copy of " + relative + "\n");
        }
        if (executable)
            fs::permissions(file, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                            fs::perm_options::add);
        const std::string crc = std::to_string(scan::getcrc(file));
        list += "sandbox~" + name + "~" + protocol::passenc(crc, protocol::randomPrefixSource()) + "~" +
                (executable ? "3.5 Enhanced Version (Original)" : "Sandbox") + "~\r\n";
    }
    fs::create_directories(listFile.parent_path());
    std::ofstream(listFile, std::ios::binary | std::ios::trunc) << list;
    std::cout << "sandbox game in " << game << ", scan list " << listFile << "\n";
    return 0;
}
