#pragma once
// The scan file list "filelist2.trm": the accepted checksums of the game
// files, and the verdict lines built from it.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::scan {

// status "~" name "~" text; "yesok" is a pass, anything else a failure.
struct Verdict {
    std::string status;
    std::string name;
    std::string text;
    bool operator==(const Verdict&) const = default;
};

// Status before the first "~", name up to the last "~", text after it. One
// "~": the name is what follows it. None: the whole line is the name.
Verdict splitVerdict(std::string_view line);

class ScanFileList {
public:
    static constexpr const char* kFileName = "filelist2.trm";
    static constexpr std::size_t kMaxEntries = 266;
    static constexpr std::array<std::size_t, 4> kWidths = {30, 30, 100, 70};

    // Field 2 is the file name (matched by containment), field 3 the
    // scrambled checksum, field 4 the version text of a match.
    using Entry = std::array<std::string, 4>;

    // Replaces the table with the file's lines; a missing file leaves the
    // table empty (so every file then fails). Says whether the file was read.
    bool loadscanfile(const std::filesystem::path& file);
    // The same from the file's bytes (Windows-1252).
    void loadBytes(std::string_view bytes);

    // The verdict line for one file. For "HP" the name is first cut after its
    // last "\" (its car folders share the file names).
    std::string checkscan(std::string_view game, std::string_view name, std::string_view checksumText) const;

    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

} // namespace tarmacia::scan
