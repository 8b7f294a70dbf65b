#include "settings/server_directory.h"

#include "common/cp1252.h"
#include "common/text.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace tarmacia::settings {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Index just past the tag that starts at `open` ('<'), or npos when it never
// closes.
std::size_t tagEnd(std::string_view html, std::size_t open) {
    if (html.substr(open, 4) == "<!--") {
        std::size_t end = html.find("-->", open + 4);
        return end == std::string_view::npos ? end : end + 3;
    }
    std::size_t end = html.find('>', open);
    return end == std::string_view::npos ? end : end + 1;
}

std::string tagName(std::string_view tag) {
    std::size_t i = 1;
    while (i < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[i])) != 0))
        ++i;
    return toLower(tag.substr(1, i - 1));
}

// One entity at `amp` ('&'): its byte and its length, or length 0 when it is
// not one a page of this kind uses.
std::pair<std::string, std::size_t> entity(std::string_view text, std::size_t amp) {
    static const std::pair<std::string_view, char> named[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&nbsp;", '\xA0'}};
    for (const auto& [name, byte] : named) {
        if (text.compare(amp, name.size(), name) == 0) return {std::string(1, byte), name.size()};
    }
    if (text.compare(amp, 2, "&#") == 0) {
        std::size_t i = amp + 2;
        int value = 0;
        while (i < text.size() && i < amp + 7 &&
               std::isdigit(static_cast<unsigned char>(text[i]))) {
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        if (i > amp + 2 && i < text.size() && text[i] == ';')
            return {std::string(1, value < 256 ? static_cast<char>(value) : '?'), i + 1 - amp};
    }
    return {{}, 0};
}

// The page text in Windows-1252 bytes, one byte per character.
std::string pageBytes(std::string_view html) {
    std::string text;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            std::size_t end = tagEnd(html, i);
            if (end == std::string_view::npos) break;
            const std::string name = tagName(html.substr(i, end - i));
            i = end;
            // What these hold is never shown as page text.
            if (name == "head" || name == "script" || name == "style" || name == "title") {
                std::size_t close = toLower(html.substr(i)).find("</" + name);
                i = close == std::string::npos ? html.size() : tagEnd(html, i + close);
                if (i == std::string_view::npos) i = html.size();
            }
            continue;
        }
        if (c == '&') {
            auto [bytes, length] = entity(html, i);
            if (length > 0) {
                text += bytes;
                i += length;
                continue;
            }
        }
        text += c;
        ++i;
    }
    // The page source's line breaks around the body are no part of its text.
    std::size_t first = 0;
    while (first < text.size() && isSpace(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && isSpace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// Copy with 1-based positions as the directory's record rules count them: a
// start before the text begins at the first character, a count of zero or
// less gives nothing.
std::string copy(const std::string& text, long start, long count) {
    if (start < 1) start = 1;
    if (count <= 0 || start > static_cast<long>(text.size())) return {};
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

std::string field(const std::string& bytes, std::size_t bound) {
    return cut(cp1252::decode(bytes), bound);
}

} // namespace

std::string directoryPageText(std::string_view body) {
    return cp1252::decode(pageBytes(body));
}

ServerDirectory::ServerDirectory(platform::HttpGet& http, platform::Clock& clock,
                                 std::string primaryBase, std::string backupBase,
                                 DirectoryHooks hooks, protocol::PrefixSource prefixSource)
    : http_(http), primaryBase_(std::move(primaryBase)), backupBase_(std::move(backupBase)),
      hooks_(std::move(hooks)), prefixSource_(std::move(prefixSource)),
      retry_(clock.createTimer()) {
    retry_->setSingleShot(true);
    retry_->setInterval(kRetryMs);
    retry_->onTimeout([this] {
        backupTried_ = false;
        getservers();
        retry_->stop();
    });
}

ServerDirectory::~ServerDirectory() = default;

std::string ServerDirectory::requestUrl(const std::string& base) {
    std::string url = base;
    if (!url.empty() && url.back() != '/') url += '/';
    log("Decrypt");
    return url + "TRM/server1.php?callername=" + kCallerName +
           "&callerpass=" + protocol::passenc(kCallerPassword, prefixSource_);
}

void ServerDirectory::fetch() {
    backupTried_ = false;
    getservers();
}

void ServerDirectory::getservers() {
    request(primaryBase_);
}

void ServerDirectory::getservers2() {
    backupTried_ = true;
    request(backupBase_);
}

void ServerDirectory::request(const std::string& base) {
    ++attempts_;
    std::weak_ptr<int> alive = alive_;
    http_.get(requestUrl(base), [this, alive](const platform::HttpReply& reply) {
        if (alive.expired()) return;
        WebBrowser2NavigateComplete2(reply);
    });
}

void ServerDirectory::WebBrowser2NavigateComplete2(const platform::HttpReply& reply) {
    log("Save Servers");
    // A failed request has no page; an error page is not the directory.
    const std::string text = reply.ok ? pageBytes(reply.body) : std::string();
    if (text.compare(0, 2, "ok") != 0) {
        fallBack();
        return;
    }
    parse(text);
    serverload();
}

void ServerDirectory::parse(const std::string& page) {
    std::string text = page;
    long nameStart = 6; // "ok" and three separator characters
    long open = 0;
    long slash = 0;
    bool reported = false;
    long i = 3;
    while (i <= static_cast<long>(text.size())) {
        const char c = text[static_cast<std::size_t>(i - 1)];
        if (c == '(') {
            open = i;
        } else if (c == '/') {
            slash = i;
        } else if (c == ')') {
            ServerEntry entry;
            entry.name = field(copy(text, nameStart, open - nameStart), 100);
            entry.ip = field(copy(text, open + 1, slash - open - 1), 60);
            entry.port = field(copy(text, slash + 1, i - slash - 1), 10);
            entry.serverPassword = "1";
            entry.defaultMarker = "Auto";
            const std::string result = autoserver(entry);
            if (!result.empty() && !reported) {
                chat("[df]Server - " + result);
                reported = true;
            }
            text.erase(0, static_cast<std::size_t>(i));
            nameStart = 4; // past three separator characters
            open = slash = 0;
            i = 1;
            continue;
        }
        ++i;
    }
}

void ServerDirectory::fallBack() {
    if (!backupTried_) {
        getservers2();
        return;
    }
    // Both endpoints failed on the first try after start-up: work from what
    // the directory list holds (nothing yet, so the player is told).
    if (attempts_ == 2) {
        chat("[df]Server not loaded - looking for previous");
        serverload();
    }
    retry_->start();
}

std::string ServerDirectory::autoserver(const ServerEntry& entry) {
    for (ServerEntry& slot : slots_) {
        if (slot.name == entry.name) {
            slot.ip = entry.ip;
            slot.port = entry.port;
            slot.serverPassword = entry.serverPassword;
            return "update";
        }
    }
    for (ServerEntry& slot : slots_) {
        if (slot.isFree()) {
            slot.name = entry.name;
            slot.ip = entry.ip;
            slot.port = entry.port;
            slot.serverPassword = entry.serverPassword;
            return "added";
        }
    }
    return {};
}

void ServerDirectory::serverload() {
    log("Load Servers");
    auto firstContaining = [this](std::string_view part) {
        for (int i = 0; i < kSlots; ++i) {
            if (slots_[i].name.find(part) != std::string::npos) return i;
        }
        return -1;
    };
    const int primary = firstContaining("Prim");
    int backup = firstContaining("Back");
    if (backup < 0) backup = firstContaining("BU");
    const int last = firstContaining("Last");

    selectorItems_.clear();
    for (int found : {primary, backup, last}) {
        if (found >= 0) selectorItems_.push_back(slots_[found].name);
    }
    bool anyNamed = false;
    for (int i = 0; i < kSlots; ++i) {
        if (slots_[i].isFree()) continue;
        anyNamed = true;
        if (hooks_.addserverfile) hooks_.addserverfile(slots_[i]);
        if (i != primary && i != backup && i != last) selectorItems_.push_back(slots_[i].name);
    }

    int chosen = 0;
    if (last >= 0) chosen = last;
    if (backup >= 0) chosen = backup;
    if (primary >= 0) chosen = primary;
    current_ = slots_[chosen];
    // The chosen name is also the selector's first item whenever any slot
    // has a name, so showing it and selecting the first item agree.
    selectorText_ = selectorItems_.empty() ? slots_[chosen].name : selectorItems_.front();
    showSelector();

    if (!anyNamed) {
        chat("[df]No Servers Found - Please Add Server");
        if (hooks_.closePleaseWait) hooks_.closePleaseWait();
    } else if (!hooks_.loggedIn || !hooks_.loggedIn()) {
        chat("[df]IP Servers Loaded - Please Login");
    }
}

void ServerDirectory::getserver(int index) {
    log("Get Server");
    if (index < 0) index = 0;
    if (index < kSlots) current_ = slots_[index];
}

void ServerDirectory::getmanserver(int index) {
    log("Get Server");
    if (index < 0) index = 0;
    if (index < kSlots && hooks_.savedSlot) current_ = hooks_.savedSlot(index);
}

void ServerDirectory::selectorChosen(const std::string& text) {
    selectorText_ = text;
    selected_ = -1;
    for (int i = kSlots - 1; i >= 0; --i) {
        if (slots_[i].name == text) {
            selected_ = i;
            break;
        }
    }
}

void ServerDirectory::savedListDoubleClicked(int index) {
    if (index < 0 || index >= kSlots) return;
    selected_ = index;
    selectorText_ = hooks_.savedSlot ? hooks_.savedSlot(index).name : std::string();
    showSelector();
}

const ServerEntry& ServerDirectory::takeCurrentForLogin() {
    if (fromDirectory_)
        getserver(selected_);
    else
        getmanserver(selected_);
    return current_;
}

void ServerDirectory::stampLastLogin(std::int32_t midnight) {
    if (current_.name.empty()) return;
    const int index = std::max(selected_, 0);
    if (index < kSlots) slots_[index].lastLogin = midnight;
}

void ServerDirectory::log(std::string_view label) const {
    if (hooks_.logLabel) hooks_.logLabel(label);
}

void ServerDirectory::chat(const std::string& line) const {
    if (hooks_.chatLine) hooks_.chatLine(line);
}

void ServerDirectory::showSelector() {
    if (hooks_.setSelector) hooks_.setSelector(selectorItems_, selectorText_);
}

} // namespace tarmacia::settings

namespace tarmacia::settings {

void ServerDirectory::setSelectedUserFlag(const std::string& flag) {
    if (selected_ < 0 || selected_ >= kSlots) return;
    ServerEntry& slot = slots_[static_cast<std::size_t>(selected_)];
    slot.userFlag = cut(flag, 5);
}

} // namespace tarmacia::settings
