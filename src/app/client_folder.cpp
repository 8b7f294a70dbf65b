#include "app/client_folder.h"

#include "common/text.h"

#include <string_view>
#include <system_error>

namespace tarmacia::app {
namespace fs = std::filesystem;

namespace {

struct CopyPattern {
    const char* folder;
    const char* extension; // empty = every file
};

// The data files, in the order they are copied. The search does not descend.
constexpr std::array<CopyPattern, 10> kPatterns = {{{"flags/other", ".bmp"},
                                                    {"flags/teams", ".bmp"},
                                                    {"images", ""},
                                                    {"reports", ".his"},
                                                    {"smileybmp", ".bmp"},
                                                    {"sounds", ".wav"},
                                                    {"themes", ".style"},
                                                    {"tracks2", ".jpg"},
                                                    {"cars", ".gif"},
                                                    {"languages", ".uni"}}};

void copyOver(const fs::path& from, const fs::path& to) {
    std::error_code ignored;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ignored);
}

void copyPattern(const fs::path& source, const fs::path& target, std::string_view extension) {
    std::error_code ec;
    fs::directory_iterator it(source, ec);
    if (ec) return;
    for (const auto& entry : it) {
        if (!entry.is_regular_file(ec)) continue;
        if (!extension.empty() && !equalsNoCase(entry.path().extension().string(), extension))
            continue;
        copyOver(entry.path(), target / entry.path().filename());
    }
}

} // namespace

fs::path checktrmfiles(const fs::path& programFolder, const fs::path& documents) {
    const fs::path client = documents / kClientFolderName;
    std::error_code ignored;
    fs::create_directories(client, ignored);
    for (const char* sub : kClientSubfolders) fs::create_directory(client / sub, ignored);
    for (const auto& pattern : kPatterns)
        copyPattern(programFolder / pattern.folder, client / pattern.folder, pattern.extension);
    for (const char* sheet : {"tarmacia.css", "tarmacia2.css"})
        copyOver(programFolder / sheet, client / sheet);
    return client;
}

} // namespace tarmacia::app
