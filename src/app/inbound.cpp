// The main window's handlers of inbound lobby messages. Those whose owner is
// not built yet say so with `pending`.

#include "app/main_form.h"

#include "app/pending.h"
#include "common/text.h"

#include <algorithm>

namespace tarmacia::app {

void MainForm::notice(int titleString, const std::string& payload, std::size_t bound) {
    messagebox({.title = lang_[titleString], .kind = "info", .line1 = cut(payload, bound),
                .line2 = lang_[458], .button1 = lang_[459]});
}

void MainForm::makesound(int) { pending("sounds: makesound"); }
void MainForm::closerace() { pending("joining races: closerace"); }

void MainForm::listuser(const std::string& payload) {
    if (payload.empty()) {
        users.clear();
    } else if (std::find(users.begin(), users.end(), payload) == users.end()) {
        users.push_back(payload);
    }
    pending("administration: mirror the user list into the admin selector");
    ports_.view.setUsers(users);
}

void MainForm::showuser(const std::string&) { pending("registration: showuser"); }
void MainForm::clearracelist() { pending("race list: clearracelist"); }
void MainForm::showracers(const std::string&) { pending("race list: showracers"); }
void MainForm::showrace(const std::string&) { pending("race list: showrace"); }
void MainForm::norace() { pending("joining races: norace"); }
void MainForm::updateteam(const std::string&) { pending("administration: updateteam"); }
void MainForm::showteam(const std::string&) { pending("administration: showteam"); }
void MainForm::setteam(const std::string&) { pending("user list: setteam"); }

void MainForm::ipsetup(const std::string&) {
    joining = 0;
    pending("joining races: ipsetup");
}

void MainForm::racehostmode(const std::string&) { pending("joining races: racehostmode"); }
void MainForm::doweekly(const std::string&) { pending("user list: doweekly"); }

void MainForm::raceTime(const std::string& text) {
    ports_.view.setRaceTime(lang_[142] + " " + text);
}

void MainForm::setpchange(const std::string&) { pending("registration: setpchange"); }
void MainForm::setpval(const std::string&) { pending("registration: setpval"); }
void MainForm::tracklist(const std::string&) {} // accepted and ignored
void MainForm::trackset(const std::string&) {}  // accepted and ignored

void MainForm::storeRaceToken(const std::string& payload) { raceToken = payload; }

} // namespace tarmacia::app
