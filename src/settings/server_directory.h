#pragma once
// The server directory: the lobby's web server lists the lobby servers; the
// client keeps them in the directory list, mirrors them into the saved list
// and picks the current server. A primary and a backup web endpoint serve
// the same page; when both fail the client asks again every 30 seconds.

#include "platform/clock.h"
#include "platform/http_get.h"
#include "protocol/passenc.h"
#include "settings/server_entry.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::settings {

// What the directory needs from the rest of the client. Every hook may be
// left empty.
struct DirectoryHooks {
    std::function<void(const std::string& line)> chatLine; // a system line, "[df]..."
    std::function<void()> closePleaseWait;
    // Merges one entry into the saved list and rewrites "server.ini".
    std::function<void(const ServerEntry&)> addserverfile;
    // Slot `index` (0-9) of the saved list.
    std::function<ServerEntry(int index)> savedSlot;
    std::function<bool()> loggedIn;
    // The selector's items and the text it shows.
    std::function<void(const std::vector<std::string>& items, const std::string& shown)>
        setSelector;
    std::function<void(std::string_view label)> logLabel; // diagnostic log labels
};

// The page text as a browser shows it: tags removed, the common entities
// decoded, Windows-1252 bytes in, UTF-8 out.
std::string directoryPageText(std::string_view body);

class ServerDirectory {
public:
    static constexpr int kSlots = 10;
    static constexpr int kRetryMs = 30'000;
    static constexpr const char* kCallerName = "system";
    static constexpr const char* kCallerPassword = "plover";

    // `primaryBase` and `backupBase` are the web endpoints' base addresses,
    // e.g. "http://web.example/"; the page path is appended to them.
    ServerDirectory(platform::HttpGet& http, platform::Clock& clock, std::string primaryBase,
                    std::string backupBase, DirectoryHooks hooks,
                    protocol::PrefixSource prefixSource = protocol::randomPrefixSource());
    ~ServerDirectory();
    ServerDirectory(const ServerDirectory&) = delete;
    ServerDirectory& operator=(const ServerDirectory&) = delete;

    // A fresh fetch from the primary (the chat view's page load, the
    // "Refresh" button): the backup-tried flag is cleared first.
    void fetch();
    void getservers();
    void getservers2();
    void WebBrowser2NavigateComplete2(const platform::HttpReply& reply);
    // Merges one entry into the directory list: "update", "added" or "".
    std::string autoserver(const ServerEntry& entry);
    void serverload();
    void getserver(int index);
    void getmanserver(int index);

    // The player chose `text` in the selector.
    void selectorChosen(const std::string& text);
    // The player double-clicked slot `index` of the saved list.
    void savedListDoubleClicked(int index);
    // Login and registration: the current server from the list the source
    // switch names, at the selected index.
    const ServerEntry& takeCurrentForLogin();
    // After a login: the day's midnight (seconds since 1970) goes into the
    // selected directory slot when the current server has a name.
    void stampLastLogin(std::int32_t midnight);
    // The login name's flag code goes into the selected directory slot.
    void setSelectedUserFlag(const std::string& flag);

    std::string requestUrl(const std::string& base);

    const std::array<ServerEntry, kSlots>& directoryList() const { return slots_; }
    const ServerEntry& current() const { return current_; }
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index) { selected_ = index; }
    bool fromDirectory() const { return fromDirectory_; }
    void setFromDirectory(bool on) { fromDirectory_ = on; }
    bool backupTried() const { return backupTried_; }
    int attempts() const { return attempts_; }
    bool retryPending() const { return retry_->isActive(); }
    const std::vector<std::string>& selectorItems() const { return selectorItems_; }
    const std::string& selectorText() const { return selectorText_; }

private:
    void request(const std::string& base);
    void parse(const std::string& text);
    void fallBack();
    void log(std::string_view label) const;
    void chat(const std::string& line) const;
    void showSelector();

    platform::HttpGet& http_;
    std::string primaryBase_;
    std::string backupBase_;
    DirectoryHooks hooks_;
    protocol::PrefixSource prefixSource_;
    std::unique_ptr<platform::Timer> retry_;
    // Replies that arrive after the directory is gone find this expired.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);

    std::array<ServerEntry, kSlots> slots_;
    ServerEntry current_;
    int selected_ = -1;
    bool fromDirectory_ = true;
    bool backupTried_ = false;
    int attempts_ = 0;
    std::vector<std::string> selectorItems_;
    std::string selectorText_;
};

} // namespace tarmacia::settings
