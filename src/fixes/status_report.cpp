#include "fixes/status_report.h"

#include "races/race_list.h"

#include <stdexcept>

namespace tarmacia::fixes {
namespace {

std::string cell(std::string_view colour, std::string_view text) {
    std::string out = "<td bgcolor = \"";
    out += colour;
    out += "\" >";
    out += text;
    out += "</td>";
    return out;
}

std::string str(std::string_view text) {
    return std::string(text);
}

} // namespace

std::string statusReport(const StatusReportInput& in) {
    std::string message = "~2~";
    if (!in.welcomeSeen) return message;
    if (in.indicators == nullptr) throw std::invalid_argument("statusReport: no indicators");
    const Indicators& rows = *in.indicators;

    // The lobby turns "[code]" into the player's flag; players without one get the default.
    const races::HostName split = races::doname(in.playerName);
    const std::string player =
        "[" + (split.flag.empty() ? std::string("df") : split.flag) + "]" + split.name;
    const bool clean = in.errorCount == "0";
    const std::string tableClass = clean ? "showtable" : "redtable";
    const std::string errors = "Errors " + str(in.errorCount);
    const std::string_view g = in.gameColour;
    const std::string_view w = in.windowsVersion;

    // Every space and attribute below is what the lobby's style sheet and
    // the other clients already show; they stay as they are.
    if (in.selectedGame == "PU") {
        message += "<table class = \"" + tableClass + "\"><tr>";
        message += "<td >" + player + "</font></td>";
        message += cell(in.versionColour, "3.5") + cell(rows.row(3), "EACars") +
                   cell(rows.row(1), "Registry");
        message += "</tr><tr>";
        message += cell(g, w) + cell(rows.row(10), "Hosts File") + cell(rows.row(11), "Ports / FW");
        message += cell(g, errors);
        message += "</tr></table>";
    } else if (in.selectedGame == "HS") {
        message += "<table class = \"" + tableClass + "\" ><tr Width \"100%\">";
        message += "<td >" + player + "</td>";
        message += cell(rows.row(2), "EP Cars") + cell(rows.row(2), "EP Mixer") +
                   cell(rows.row(1), "Registry") + "</tr>";
        message += "<tr>" + cell(g, w);
        message += cell(rows.row(3), "Hosts File") + cell(rows.row(4), "Ports / FW");
        message += cell(g, " " + errors);
        message += "</tr></table>";
    } else if (in.selectedGame == "HP") {
        message += "<table class = \"" + tableClass + "\"><tr>";
        message += "<td >" + player + "</td>";
        // With errors the version and wheel cells make way for the red table.
        if (clean) message += cell(in.versionColour, "2.40");
        message += cell(rows.row(3), "Hosts File") + cell(rows.row(1), "Registry");
        message += "</tr><tr>";
        message += cell(g, w);
        if (clean) message += cell(in.wheelSupport ? colour::lime : colour::orange, "G25 / G27");
        message += cell(rows.row(4), "Ports / FW");
        message += cell(g, errors);
        message += "</tr></table>";
    } else {
        message += "<table class = \"showtable\" ><tr Width \"100%\">";
        message += "<td >" + player + "</td>";
        message += cell(colour::lime, w) + cell(colour::yellow, str(in.selectedGame) + " No Scan") +
                   cell(colour::lime, "Hosts File");
        message += "</tr></table>";
    }
    return message;
}

} // namespace tarmacia::fixes
