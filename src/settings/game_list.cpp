#include "settings/game_list.h"

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "common/text.h"
#include "platform/ini_file.h"
#include "races/game_paths.h"

#include <utility>

namespace tarmacia::settings {
namespace {

constexpr const char* kPlaceholder = "XX";

struct BuiltinGame {
    const char* abbrev;
    const char* name;
    const char* exename;
    const char* picture;
};

// Slots 1, 2 and 3, in order.
constexpr BuiltinGame kBuiltins[] = {
    {"PU", "Porsche Unleashed", "porsche.exe", "images/nfspu.bmp"},
    {"HS", "High Stakes", "nfshs.exe", "images/nfshs.bmp"},
    {"HP", "Hot Pursuit 2", "nfshp2.exe", "images/nfshp2.bmp"},
};

std::string section(int slot) {
    return "game" + std::to_string(slot);
}

bool isProtected(std::string_view code) {
    if (code.empty() || code == kPlaceholder) return true;
    for (const BuiltinGame& builtin : kBuiltins)
        if (code == builtin.abbrev) return true;
    return false;
}

} // namespace

std::string multigame::addOrUpdate(const std::string& name, const std::string& abbrev,
                                   const std::string& stats, const std::string& param,
                                   const std::string& exename, const std::string& defaultText,
                                   const std::string& color, const std::string& path) {
    if (abbrev.empty()) return "No Game Specified";
    int index = -1;
    for (int i = 0; i < kSlots && index < 0; ++i)
        if (slots_[static_cast<std::size_t>(i)].abbrev == abbrev) index = i;
    for (int i = 0; i < kSlots && index < 0; ++i)
        if (slots_[static_cast<std::size_t>(i)].isFree()) index = i;
    if (index < 0) return {}; // full: refused without a word
    slots_[static_cast<std::size_t>(index)] =
        game{name, abbrev, path, color, defaultText, exename, param, stats};
    current_ = index;
    return {};
}

int multigame::find(std::string_view abbrev) {
    for (int i = 0; i < kSlots; ++i) {
        if (slots_[static_cast<std::size_t>(i)].abbrev == abbrev) {
            current_ = i;
            return i;
        }
    }
    return -1;
}

std::optional<game> multigame::get(int index) const {
    if (index < 0 || index >= kSlots) return std::nullopt;
    return slots_[static_cast<std::size_t>(index)];
}

std::string multigame::defaultGame() const {
    for (const game& slot : slots_)
        if (slot.default_ == "True") return slot.abbrev;
    return {};
}

void multigame::deleteGame(std::string_view abbrev) {
    int index = -1;
    for (int i = 0; i < kSlots && index < 0; ++i)
        if (slots_[static_cast<std::size_t>(i)].abbrev == abbrev) index = i;
    if (index < 0) return;
    // Later entries move down in order; free slots in between stay free.
    for (int i = index; i + 1 < kSlots; ++i)
        slots_[static_cast<std::size_t>(i)] = std::move(slots_[static_cast<std::size_t>(i + 1)]);
    slots_[kSlots - 1] = game{};
}

void multigame::select(int index) {
    if (index >= 0 && index < kSlots) current_ = index;
}

std::string builtinGameColor(std::string_view code) {
    if (code == "PU") return "80FFFF";
    if (code == "HS") return "F9A5A5";
    if (code == "HP") return "F6F78F";
    if (code == "PT" || code == "XX") return "B5F7B5";
    return "FFFFFF";
}

std::string gamecolor(const multigame& list, std::string_view code) {
    for (int i = 0; i < multigame::kSlots; ++i)
        if (list.slot(i).abbrev == code && !code.empty()) return list.slot(i).color;
    return builtinGameColor(code);
}

GameListViews gameListViews(const multigame& list, const std::filesystem::path& clientFolder) {
    GameListViews views;
    for (int i = 0; i < multigame::kSlots; ++i) {
        const game& slot = list.slot(i);
        if (slot.isFree()) continue;
        const char* picture = "images/xxrace.bmp";
        if (i >= 1 && i <= 3) picture = kBuiltins[i - 1].picture;
        views.pictures.push_back({i, i == 0 ? "Add New" : slot.name, clientFolder / picture});
        if (slot.abbrev != kPlaceholder) views.selector.codes.push_back(slot.abbrev);
        if (slot.default_ == "True" && views.selector.shown.empty())
            views.selector.shown = slot.abbrev;
    }
    return views;
}

GameEditorFields editorFields(const multigame& list, int slot) {
    GameEditorFields fields;
    auto entry = list.get(slot);
    if (!entry) return fields;
    std::string itemText = slot == 0 ? "Add New" : entry->name;
    fields.heading = slot == 0 ? itemText : "NFS " + itemText;
    fields.code = entry->abbrev;
    fields.name = entry->name;
    fields.color = entry->color;
    fields.isDefault = entry->default_ == "True";
    fields.exename = entry->exename;
    fields.param = entry->param;
    fields.path = entry->path;
    return fields;
}

GameListStore::GameListStore(platform::IniFiles& ini, const platform::Registry& registry,
                             app::DiagnosticLog& log, std::filesystem::path clientFolder)
    : ini_(ini), registry_(registry), log_(log), clientFolder_(std::move(clientFolder)),
      file_(clientFolder_ / kFileName) {}

GameListViews GameListStore::Readgamelist(multigame& list) {
    log_.label("Read Gamelist");
    for (int i = 0; i < multigame::kSlots; ++i) {
        const std::string name = section(i);
        auto read = [&](const char* key) { return ini_.readString(file_, name, key, ""); };
        game entry{read("name"),    read("abbrev"),  read("path"),  read("color"),
                   read("default"), read("exename"), read("param"), read("stats")};
        if (i == 0) {
            entry = game{};
            entry.abbrev = kPlaceholder;
            entry.color = "FFFFFF";
        } else if (i <= 3) {
            const BuiltinGame& builtin = kBuiltins[i - 1];
            entry.abbrev = builtin.abbrev;
            if (entry.path.empty()) {
                // Asked before the entry is replaced, so a colour the player
                // chose earlier in this run survives the rebuild.
                std::string color = gamecolor(list, builtin.abbrev);
                entry = game{builtin.name,
                             builtin.abbrev,
                             races::getgamepath(registry_, log_, builtin.exename),
                             color,
                             "False",
                             builtin.exename,
                             "",
                             ""};
            }
        }
        if (entry.abbrev.empty()) continue;
        list.addOrUpdate(entry.name, entry.abbrev, entry.stats, entry.param, entry.exename,
                         entry.default_, entry.color, entry.path);
    }
    return gameListViews(list, clientFolder_);
}

void GameListStore::WriteGamelist(const multigame& list) {
    log_.label("Write Gamelist");
    for (int i = 0; i < multigame::kSlots; ++i) {
        const game& slot = list.slot(i);
        if (slot.isFree()) break;
        const std::string name = section(i);
        ini_.writeString(file_, name, "path", slot.path);
        ini_.writeString(file_, name, "name", slot.name);
        ini_.writeString(file_, name, "color", slot.color);
        ini_.writeString(file_, name, "default", slot.default_);
        ini_.writeString(file_, name, "abbrev", slot.abbrev);
        ini_.writeString(file_, name, "exename", slot.exename);
        ini_.writeString(file_, name, "param", slot.param);
        ini_.writeString(file_, name, "stats", slot.stats);
    }
}

void GameListStore::clearFile() { ini_.removeFile(file_); }

bool saveGame(multigame& list, GameListStore& store, const GameEditorInput& input) {
    std::string code = toUpper(input.code);
    if (code.empty()) return false;
    list.addOrUpdate(input.name, code, "", "", input.exename, "False", input.color, input.path);
    store.WriteGamelist(list);
    store.Readgamelist(list);
    return true;
}

bool deleteGame(multigame& list, GameListStore& store, platform::Dialogs& dialogs,
                app::DiagnosticLog& log, std::string_view rawCode) {
    std::string code = toUpper(rawCode);
    if (isProtected(code)) {
        app::messagebox(dialogs, log,
                        {"Delete Game", "error", "Unable to delete " + code,
                         "Protected or non existant game", "Press Continue", "Continue", "", ""});
        return false;
    }
    int answer = app::messagebox(dialogs, log,
                                 {"Delete Game", "warn", "Confirm deletetion of " + code,
                                  "Press Confirm or Cancel", "", "Confirm", "Cancel", ""});
    if (answer != 1) return false;
    list.deleteGame(code);
    // A shorter list is written over an empty file, or the old last section
    // would come back on the next read.
    store.clearFile();
    store.WriteGamelist(list);
    store.Readgamelist(list);
    return true;
}

} // namespace tarmacia::settings
