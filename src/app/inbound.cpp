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

void MainForm::makesound(int number) { presence_->makesound(number); }

void MainForm::listuser(const std::string& payload) {
    log_.label("Admin - User List");
    if (!presence_->listuser(payload)) return;
    if (payload.empty())
        ports_.view.clearUsers();
    else
        ports_.view.addUser(payload);
}

void MainForm::showuser(const std::string&) { pending("registration: showuser"); }
void MainForm::clearracelist() { races_->clearracelist(); }
void MainForm::showrace(const std::string& payload) { races_->showrace(payload); }

void MainForm::showracers(const std::string& payload) {
    races_->showracers(payload, creation_->panel().game);
}
void MainForm::updateteam(const std::string&) { pending("administration: updateteam"); }
void MainForm::showteam(const std::string&) { pending("administration: showteam"); }
void MainForm::setteam(const std::string& payload) { presence_->setteam(payload); }


void MainForm::doweekly(const std::string& payload) {
    log_.label("Do Weekly");
    presence_->doweekly(payload);
    ports_.view.setAwards(presence_->firstEntries());
}

void MainForm::raceTime(const std::string& text) {
    ports_.view.setRaceTime(lang_[142] + " " + text);
}

void MainForm::setpchange(const std::string&) { pending("registration: setpchange"); }
void MainForm::setpval(const std::string&) { pending("registration: setpval"); }
// Accepted and ignored.
void MainForm::tracklist(const std::string&) { log_.label("Tracklist"); }
void MainForm::trackset(const std::string&) { log_.label("Trackset"); }

void MainForm::storeRaceToken(const std::string& payload) { raceToken = payload; }

} // namespace tarmacia::app
