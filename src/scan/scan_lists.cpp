#include "scan/scan_lists.h"

#include <initializer_list>
#include <vector>

namespace tarmacia::scan {
namespace {

// A folder and the files taken from it, in scan order.
struct Group {
    std::string_view folder;
    std::initializer_list<std::string_view> files;
};

struct GameList {
    std::string_view game;
    std::vector<std::string> paths;
};

std::vector<std::string> flatten(std::initializer_list<Group> groups) {
    std::vector<std::string> paths;
    for (const Group& g : groups)
        for (std::string_view f : g.files) paths.push_back(std::string(g.folder) + std::string(f));
    return paths;
}

std::vector<std::string> puList() {
    return flatten({
        {"\\", {"Porsche.exe"}},
        {"\\GameData\\Track\\", {"animdefs.txt"}},
        {"\\FEData\\Data\\", {"nfs5.car", "nfs5.prt"}},
        {"\\FEData\\Models\\",
         {"dealer2a.crp", "dealer2b.crp", "dealer2c.crp", "factory.crp", "garage.crp", "track.crp",
          "trackwall.crp", "victory.crp"}},
        {"\\GameData\\CarModel\\",
         {"356a.crp",  "356b.crp",      "356_1.crp",         "550.crp",       "901.crp",
          "914.crp",   "928.crp",       "930.crp",           "935.crp",       "944.crp",
          "959.crp",   "964.crp",       "993.crp",           "996.crp",       "boxster.crp",
          "cop356.crp", "cop356_german.crp", "cop930.crp",   "cop930_german.crp", "cop993_german.crp",
          "eas1.crp",  "eas10.crp",     "eas11.crp",         "eas2.crp",      "eas3.crp",
          "eas4.crp",  "eas5.crp",      "eas6.crp",          "eas7.crp",      "eas8.crp",
          "eas9.crp",  "eden1.crp",     "eden2.crp",         "eden3.crp",     "eden4.crp",
          "eden5.crp", "f901.crp",      "f996.crp",          "fboxster.crp",  "gt1.crp",
          "gt2.crp",   "gt3.crp",       "postship.crp"}},
        {"\\GameData\\Track\\",
         {"alps.crp",     "autobahn.crp", "canyon.crp",  "castle.crp",    "coastal.crp",
          "farmland.crp", "foothills.crp", "forest.crp", "industrial.crp", "monaco1.crp",
          "monaco2.crp",  "monaco3.crp",  "monaco4.crp", "monaco5.crp",   "skidpad.crp",
          "alps.edg",     "autobahn.edg", "canyon.edg",  "castle.edg",    "coastal.edg",
          "farmland.edg", "foothills.edg", "forest.edg", "industrial.edg", "monaco1.edg",
          "monaco2.edg",  "monaco3.edg",  "monaco4.edg", "monaco5.edg",   "skidpad.edg"}},
        {"\\GameData\\Simulation\\CarData\\",
         {"356Acabrio13.sim",   "356Acabrio16.sim",  "356AcabrioS13.sim",  "356AcabrioS16.sim",
          "356Aconv16.sim",     "356AconvS16.sim",   "356Acoupe13.sim",    "356Acoupe16.sim",
          "356AcoupeS13.sim",   "356AcoupeS16.sim",  "356Aspeed16.sim",    "356AspeedS16.sim",
          "356Bcabrio16.sim",   "356BcabrioS16.sim", "356BcabrioS9016.sim", "356Bcoupe16.sim",
          "356BcoupeGS20.sim",  "356BcoupeS16.sim",  "356BcoupeS9016.sim", "356Bhard16.sim",
          "356BhardS16.sim",    "356BhardS9016.sim", "356Broad16.sim",     "356BroadS16.sim",
          "356BroadS9016.sim",  "356cabrio11.sim",   "356cabrio13.sim",    "356cabrio15.sim",
          "356cabrioS13.sim",   "356cabrioS15.sim",  "356coupe11.sim",     "356coupe13.sim",
          "356coupe15.sim",     "356coupeS13.sim",   "356coupeS15.sim",    "550Arace.sim",
          "901carreraRS27.sim", "901coupe20.sim",    "901coupe24.sim",     "901coupeS20.sim",
          "901targa20.sim",     "901targaS20.sim",   "901targaS24.sim",    "914coupe17.sim",
          "914coupe18.sim",     "914coupe20.sim",    "928coupeGTS54.sim",  "930Tcoupe30.sim",
          "930Tcoupe33.sim",    "935race.sim",       "944cabrioS230.sim",  "944coupe25.sim",
          "944coupeS25.sim",    "944Tcabrio25.sim",  "944TcoupeS25.sim",   "959coupe29.sim",
          "964cabrio36.sim",    "964cabrio436.sim",  "964coupe36.sim",     "964coupe436.sim",
          "964targa36.sim",     "964targa436.sim",   "965Tcoupe33.sim",    "965Tcoupe36.sim",
          "9936coupe36.sim",    "9936coupe436.sim",  "993cabrio36.sim",    "993cabrio436.sim",
          "993coupe36.sim",     "993coupe436.sim",   "993coupe4S36.sim",   "993coupeS36.sim",
          "993targa36.sim",     "993Tcoupe36.sim",   "996cabrio34.sim",    "996cabrio434.sim",
          "996coupe34.sim",     "996coupe434.sim",   "996Tcoupe36.sim",    "boxster25.sim",
          "boxsterS32.sim",     "default.sim",       "GT1race.sim",        "GT2race.sim",
          "GT3race.sim"}},
        {"\\GameData\\Track\\Sky\\",
         {"alps.txt", "Autobahn.txt", "Canyon.txt", "Castle.txt", "Coastal.txt", "Farmland.txt",
          "foothills.txt", "forest.txt", "Industrial.txt", "Monaco1.txt", "Monaco2.txt",
          "Monaco3.txt", "Monaco4.txt", "Monaco5.txt"}},
    });
}

std::vector<std::string> hsList() {
    return flatten({{"\\", {"clokspl.exe", "Ip.exe", "nfshs.exe", "PatchNFS.exe"}}});
}

std::vector<std::string> hpList() {
    std::vector<std::string> paths = flatten({{"\\", {"NFSHP2.exe"}}, {"\\AI\\", {"racetune.ini"}}});
    // Each car folder holds the same two files.
    for (std::string_view car : {"911t", "barch", "carrgt", "cl55amg", "clkgtr", "cobrar", "corvz06", "crnvic",
                                 "diablovt", "elise", "f1", "f1lm", "f50", "hsvcgts", "m5", "modenas",
                                 "murcie", "speedstr", "ts50", "vanq", "viprgts", "vx220", "xkr", "z8"}) {
        for (std::string_view file : {"car.ini", "carracer.ini"})
            paths.push_back("\\Cars\\" + std::string(car) + "\\" + std::string(file));
    }
    return paths;
}

const std::vector<std::string>* listOf(std::string_view game) {
    static const std::vector<GameList> lists = {{"PU", puList()}, {"HS", hsList()}, {"HP", hpList()}};
    for (const GameList& l : lists)
        if (l.game == game) return &l.paths;
    return nullptr;
}

} // namespace

std::string getnextfile(std::string_view game, int index) {
    const auto* list = listOf(game);
    if (list == nullptr || index < kFirstFileIndex) return {};
    auto i = static_cast<std::size_t>(index - kFirstFileIndex);
    return i < list->size() ? (*list)[i] : std::string();
}

int scanEnd(std::string_view game) {
    const auto* list = listOf(game);
    return list == nullptr ? 0 : kFirstFileIndex + static_cast<int>(list->size());
}

bool hasScanList(std::string_view game) { return listOf(game) != nullptr; }

} // namespace tarmacia::scan
