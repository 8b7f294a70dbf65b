#pragma once
// The games the client knows: 21 slots kept in "gamelist.ini". Slot 0 is the
// editor's "Add New" placeholder, slots 1-3 always hold PU, HS and HP, the
// rest are the player's own entries.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::platform {
class Dialogs;
class IniFiles;
class Registry;
} // namespace tarmacia::platform
namespace tarmacia::app {
class DiagnosticLog;
}

namespace tarmacia::settings {

struct game {
    std::string name;
    std::string abbrev;   // the slot's key; empty = free slot
    std::string path;     // installation folder, ending in a separator
    std::string color;    // six hex digits
    std::string default_; // "True" marks the start-up game
    std::string exename;
    std::string param;
    std::string stats;

    bool isFree() const { return abbrev.empty(); }
    bool operator==(const game&) const = default;
};

class multigame {
public:
    static constexpr int kSlots = 21;

    // Updates the slot holding `abbrev`, else fills the first free one; a full
    // list refuses silently. Returns "No Game Specified" for an empty code,
    // "" otherwise. The slot used becomes current.
    std::string addOrUpdate(const std::string& name, const std::string& abbrev,
                            const std::string& stats, const std::string& param,
                            const std::string& exename, const std::string& defaultText,
                            const std::string& color, const std::string& path);
    // First slot with exactly this code (made current), -1 when none.
    int find(std::string_view abbrev);
    std::optional<game> get(int index) const;
    // The code of the first slot whose default is exactly "True"; "" when none.
    std::string defaultGame() const;
    // Clears the slot and moves every later entry down one place.
    void deleteGame(std::string_view abbrev);
    void select(int index);

    int current() const { return current_; }
    const game& slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }

    const std::string& name() const { return cur().name; }
    const std::string& abbrev() const { return cur().abbrev; }
    const std::string& path() const { return cur().path; }
    const std::string& color() const { return cur().color; }
    const std::string& default_() const { return cur().default_; }
    const std::string& exename() const { return cur().exename; }
    const std::string& param() const { return cur().param; }
    const std::string& stats() const { return cur().stats; }

private:
    const game& cur() const { return slots_[static_cast<std::size_t>(current_)]; }

    std::array<game, kSlots> slots_{};
    int current_ = 0;
};

// The colour a game code is drawn in: the list's when the code is in it,
// otherwise the fixed colour of the code (white for unknown codes).
std::string gamecolor(const multigame& list, std::string_view code);
std::string builtinGameColor(std::string_view code);

// The game path editor's picture list: one item per occupied slot.
struct GamePicture {
    int slot = 0;
    std::string caption;
    std::filesystem::path picture;
};
// The game selector: every code but "XX", and the one it shows.
struct GameSelector {
    std::vector<std::string> codes;
    std::string shown;
};
struct GameListViews {
    std::vector<GamePicture> pictures;
    GameSelector selector;
};
GameListViews gameListViews(const multigame& list, const std::filesystem::path& clientFolder);

// What the editor shows when an entry of the picture list is chosen.
struct GameEditorFields {
    std::string heading;
    std::string code;
    std::string name;
    std::string color;
    bool isDefault = false;
    std::string exename;
    std::string param;
    std::string path;
};
GameEditorFields editorFields(const multigame& list, int slot);

// "gamelist.ini" in the client folder; one section "game<N>" per slot.
class GameListStore {
public:
    static constexpr const char* kFileName = "gamelist.ini";

    GameListStore(platform::IniFiles& ini, const platform::Registry& registry,
                  app::DiagnosticLog& log, std::filesystem::path clientFolder);

    const std::filesystem::path& file() const { return file_; }

    // Fills `list` from the file; the three supported games are rebuilt from
    // what the registry says when the file has no path for them.
    GameListViews Readgamelist(multigame& list);
    // Writes slots from 0 up to the first free one; higher sections stay.
    void WriteGamelist(const multigame& list);
    // Drops every section, so nothing of an older, longer list survives.
    void clearFile();

private:
    platform::IniFiles& ini_;
    const platform::Registry& registry_;
    app::DiagnosticLog& log_;
    std::filesystem::path clientFolder_;
    std::filesystem::path file_;
};

// The editor's "Save" and "Delete".
struct GameEditorInput {
    std::string code;
    std::string name;
    std::string color;
    std::string exename;
    std::string path;
};
// Returns false (nothing done) for an empty code.
bool saveGame(multigame& list, GameListStore& store, const GameEditorInput& input);
// Asks first; the three supported games and the placeholder are refused.
// Returns true when the entry was deleted and the file rewritten.
bool deleteGame(multigame& list, GameListStore& store, platform::Dialogs& dialogs,
                app::DiagnosticLog& log, std::string_view code);

} // namespace tarmacia::settings
