#include "scan/scan_file_list.h"

#include "common/cp1252.h"
#include "common/text.h"
#include "protocol/passenc.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace tarmacia::scan {

Verdict splitVerdict(std::string_view line) {
    const auto first = line.find('~');
    if (first == std::string_view::npos) return {"", std::string(line), ""};
    const auto last = line.rfind('~');
    if (last == first) return {std::string(line.substr(0, first)), std::string(line.substr(first + 1)), ""};
    return {std::string(line.substr(0, first)), std::string(line.substr(first + 1, last - first - 1)),
            std::string(line.substr(last + 1))};
}

bool ScanFileList::loadscanfile(const std::filesystem::path& file) {
    entries_.clear();
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    loadBytes(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    return true;
}

void ScanFileList::loadBytes(std::string_view bytes) {
    entries_.clear();
    std::size_t start = 0;
    while (start < bytes.size() && entries_.size() < kMaxEntries) {
        auto end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;

        // Field k ends at the k-th "~"; text after the last "~" belongs to no field.
        Entry entry;
        std::size_t from = 0;
        for (std::size_t k = 0; k < entry.size(); ++k) {
            const auto tilde = line.find('~', from);
            if (tilde == std::string_view::npos) break;
            // One byte is one character in the file's code page, so cutting
            // before decoding keeps the width in characters.
            entry[k] = cp1252::decode(line.substr(from, std::min(tilde - from, kWidths[k])));
            from = tilde + 1;
        }
        entries_.push_back(std::move(entry));
    }
}

std::string ScanFileList::checkscan(std::string_view game, std::string_view name,
                                    std::string_view checksumText) const {
    std::string file(name);
    if (game == "HP") {
        const auto slash = file.rfind('\\');
        if (slash != std::string::npos) file.erase(0, slash + 1);
    }
    const std::string wanted = toUpper(file);
    for (const Entry& entry : entries_) {
        if (toUpper(entry[1]).find(wanted) == std::string::npos) continue;
        std::string checksum = protocol::passdec2(entry[2]);
        std::erase(checksum, ' ');
        if (checksum == checksumText) return "yesok~" + file + "~" + entry[3];
    }
    return "notok~" + file + "~Unknown Version";
}

} // namespace tarmacia::scan
