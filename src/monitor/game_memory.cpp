#include "monitor/game_memory.h"

namespace tarmacia::monitor {

namespace {
std::string row(const char* name, int k) {
    return std::string(name) + "[" + std::to_string(k) + "]";
}
} // namespace

std::vector<NamedArea> fixedAreas(std::string_view game) {
    std::vector<NamedArea> out;
    if (game == "PU") {
        const PuMemory& m = kPu;
        out = {{"gameState", m.gameState},
               {"lobbyTrack", m.lobbyTrack},
               {"lobbyDirection", m.lobbyDirection},
               {"pathTableAddress", m.pathTableAddress},
               {"playerName", m.playerName}};
        for (int k = 0; k < m.resultRows; ++k) {
            out.push_back({row("resultName", k), m.resultName(k)});
            out.push_back({row("resultTime", k), m.resultTime(k)});
            out.push_back({row("resultMonteCarloTime", k), m.resultMonteCarloTime(k)});
        }
    } else if (game == "HS") {
        const HsMemory& m = kHs;
        out = {{"gameState", m.gameState},
               {"lobbyDirectionMirror", m.lobbyDirectionMirror},
               {"mirror", m.mirror},
               {"optionA", m.optionA},
               {"optionB", m.optionB},
               {"optionD", m.optionD},
               {"otherTrack", m.otherTrack},
               {"playerFinished", m.playerFinished},
               {"raceType", m.raceType},
               {"lobbyTrack", m.lobbyTrack},
               {"track", m.track},
               {"lapsHex", m.lapsHex},
               {"laps", m.laps},
               {"settingHex", m.settingHex},
               {"settingE", m.settingE},
               {"settingF", m.settingF},
               {"settingG", m.settingG},
               {"settingDecimal", m.settingDecimal},
               {"playerNameText", m.playerNameText},
               {"finishFlag", m.finishFlag},
               {"outcomeText", m.outcomeText},
               {"playerRow", m.playerRow}};
        for (int r = 0; r < 8; ++r)
            out.push_back({row("resultRow", r), m.resultRow(r)});
    } else if (game == "HP") {
        out = {{"lobbyTrack", kHp.lobbyTrack}, {"lobbyMode", kHp.lobbyMode}};
    }
    return out;
}

std::uint16_t u16At(std::string_view block, std::size_t at) {
    if (at + 2 > block.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(block[at]) |
                                      static_cast<unsigned char>(block[at + 1]) << 8);
}

std::uint32_t u32At(std::string_view block, std::size_t at) {
    if (at + 4 > block.size()) return 0;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(block[at + static_cast<std::size_t>(i)]);
    return v;
}

} // namespace tarmacia::monitor
