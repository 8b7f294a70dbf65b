#include "races/hosts_redirect.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <vector>

namespace tarmacia::races {

namespace {

struct Line {
    std::string_view text; // with its line break, if any
    std::string_view body; // without the line break and trailing blanks
};

std::vector<Line> splitLines(std::string_view file) {
    std::vector<Line> lines;
    while (!file.empty()) {
        std::size_t end = file.find('\n');
        std::size_t size = end == std::string_view::npos ? file.size() : end + 1;
        std::string_view text = file.substr(0, size);
        std::string_view body = text;
        while (!body.empty() && (body.back() == '\n' || body.back() == '\r' || body.back() == ' ' ||
                                 body.back() == '\t'))
            body.remove_suffix(1);
        lines.push_back({text, body});
        file.remove_prefix(size);
    }
    return lines;
}

bool isMarker(const Line& line) {
    return line.body == HostsRedirect::kMarker;
}

// "<address> tarmacia": at most two fields, the last our host name. A line
// naming more hosts is the user's, even after our marker.
bool isEntry(const Line& line, std::string_view* address = nullptr) {
    std::string_view body = line.body;
    std::vector<std::string_view> fields;
    while (!body.empty()) {
        std::size_t start = body.find_first_not_of(" \t");
        if (start == std::string_view::npos) break;
        body.remove_prefix(start);
        std::size_t end = std::min(body.find_first_of(" \t"), body.size());
        fields.push_back(body.substr(0, end));
        body.remove_prefix(end);
    }
    if (fields.empty() || fields.size() > 2 || fields.back() != HostsRedirect::kHostName)
        return false;
    if (address) *address = fields.size() == 2 ? fields.front() : std::string_view();
    return true;
}

std::string_view lineBreakOf(std::string_view file) {
    std::size_t end = file.find('\n');
    return end != std::string_view::npos && end > 0 && file[end - 1] == '\r' ? "\r\n" : "\n";
}

} // namespace

void HostsRedirect::sethostpath() {
    path_ = hosts_.path();
    folder_ = path_.parent_path();
}

bool HostsRedirect::validAddress(const std::string& address) {
    in6_addr buffer{};
    return ::inet_pton(AF_INET, address.c_str(), &buffer) == 1 ||
           ::inet_pton(AF_INET6, address.c_str(), &buffer) == 1;
}

std::string HostsRedirect::withEntry(std::string_view file, std::string_view address) {
    const std::string_view eol = lineBreakOf(file);
    std::string ours;
    ours.append(kMarker).append(eol).append(address).append(" ").append(kHostName).append(eol);

    std::string out;
    out.reserve(file.size() + ours.size() + 2);
    const std::vector<Line> lines = splitLines(file);
    bool placed = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isMarker(lines[i])) {
            out.append(lines[i].text);
            continue;
        }
        if (!placed) out.append(ours);
        placed = true;
        if (i + 1 < lines.size() && isEntry(lines[i + 1])) ++i;
    }
    if (!placed) {
        if (!out.empty() && out.back() != '\n') out.append(eol);
        out.append(ours);
    }
    return out;
}

bool HostsRedirect::hasMarker(std::string_view file) {
    for (const Line& line : splitLines(file))
        if (isMarker(line)) return true;
    return false;
}

bool HostsRedirect::hasEntry(std::string_view file, std::string_view address) {
    const std::vector<Line> lines = splitLines(file);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        std::string_view found;
        if (isMarker(lines[i]) && isEntry(lines[i + 1], &found) && found == address) return true;
    }
    return false;
}

HostsSetup HostsRedirect::ipsetup(const std::string& address) {
    HostsSetup result;
    if (!validAddress(address)) {
        result.note = "refused host address \"" + address + "\"";
        return result;
    }

    std::string old;
    const bool existed = hosts_.exists(hosts_.path());
    if (existed) {
        // Rewriting a file we could not read would throw the user's lines away.
        std::optional<std::string> bytes = hosts_.read();
        if (!bytes) {
            result.error = hosts_.lastError();
            return result;
        }
        old = std::move(*bytes);
    }

    // The user's own file from before the first race, kept once and for all.
    const std::filesystem::path backup = hosts_.path().string() + ".bak";
    if (existed && !hasMarker(old) && !hosts_.exists(backup)) {
        result.backupMade = hosts_.copy(hosts_.path(), backup);
        // Not worth refusing the race over: the rewrite keeps the user's lines anyway.
        if (!result.backupMade)
            result.note = "no backup " + backup.string() + ": " + hosts_.lastError();
    }

    const std::string updated = withEntry(old, address);
    if (updated != old && !hosts_.rewrite(updated)) {
        result.error = hosts_.lastError();
        return result;
    }
    std::optional<std::string> back = hosts_.read();
    result.inPlace = back && hasEntry(*back, address);
    return result;
}

} // namespace tarmacia::races
