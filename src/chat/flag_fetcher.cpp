#include "chat/flag_fetcher.h"

#include "chat/markup.h"
#include "common/text.h"
#include "platform/paths.h"

#include <fstream>
#include <system_error>
#include <utility>

namespace tarmacia::chat {
namespace fs = std::filesystem;

namespace {

// Only "<code>flag.bmp" and "adflag.gif" are flag files; the code must be
// safe, so no reply can be written outside the flag folders.
bool isFlagFile(const std::string& file) {
    if (file == "adflag.gif") return true;
    static constexpr std::string_view kSuffix = "flag.bmp";
    if (file.size() <= kSuffix.size() ||
        file.compare(file.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
        return false;
    return isSafeFlagCode(std::string_view(file).substr(0, file.size() - kSuffix.size()));
}

} // namespace

FlagFetcher::FlagFetcher(platform::HttpGet& http, fs::path clientFolder,
                         std::function<std::string()> host)
    : http_(http), clientFolder_(std::move(clientFolder)), host_(std::move(host)) {}

void FlagFetcher::findflag(const std::string& file) {
    if (!isFlagFile(file)) return;
    if (!host_ || host_().empty()) return; // not asked yet: a later showing may ask
    // A code the server lacks would otherwise be asked for every time it is shown.
    if (!asked_.insert(toLower(file)).second) return;
    ask(file, true);
}

void FlagFetcher::ask(const std::string& file, bool teams) {
    std::string host = host_ ? host_() : std::string();
    if (host.empty()) return;
    std::string folder = teams ? "flags/teams/" : "flags/other/";
    std::weak_ptr<int> alive = life_;
    http_.get("http://" + host + ":5450/" + folder + file,
              [this, alive, file, folder, teams](const platform::HttpReply& reply) {
                  if (alive.expired()) return;
                  if (reply.ok && !reply.body.empty()) {
                      fs::path target = platform::resolvePath(clientFolder_, folder + file);
                      if (save(target, reply.body)) {
                          if (arrived) arrived(target);
                          return;
                      }
                  }
                  if (teams) ask(file, false);
              });
}

bool FlagFetcher::save(const fs::path& target, const std::string& bytes) const {
    // Written beside the target and renamed, so a view never draws half a file.
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    fs::path temporary = target;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace tarmacia::chat
