// The chat of the main window: the chat page and its load, showing chat
// texts and whispers, the chat log, links, and the chat input with its
// smileys, whispers, nudges and menu.

#include "app/main_form.h"

#include "app/pending.h"
#include "chat/flag_fetcher.h"
#include "chat/markup.h"
#include "chat/rtf.h"
#include "chat/smileys.h"
#include "common/text.h"
#include "platform/paths.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace tarmacia::app {
namespace fs = std::filesystem;

namespace {

constexpr const char* kSep = "\xC2\xAC";            // "¬"
constexpr const char* kPicture = "\xEF\xBF\xBC";    // U+FFFC, a picture in the input's text
constexpr const char* kChatPage = "zuvo4";
constexpr const char* kChatLog = "chatlog.htm";

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

chat::RtfColour rtfColour(const settings::Colour& c) { return {c.red, c.green, c.blue}; }

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A whisper as rich text, rewritten as the lobby's clients read it: the
// pictures are cut out and their smiley tokens stand in their place, and
// the text is shown at 10 points behind the sender's name.
std::string richWhisper(const std::string& rtf, const chat::SmileySlots& smileys,
                        const std::string& playerName) {
    std::string fontSize;
    for (std::size_t i = 0; i + 4 <= rtf.size(); ++i) {
        if (rtf.compare(i, 2, "fs") == 0 && rtf.compare(i, 3, "fsw") != 0) {
            fontSize = rtf.substr(i, 4);
            break;
        }
    }
    std::string text;
    bool skipping = false;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const std::string_view window = std::string_view(rtf).substr(i, 4);
        if (window == "\\pic") skipping = true;
        if (skipping && (window == "\\par" || window == "\\lan" || window.front() == '}'))
            skipping = false;
        if (!skipping) text += rtf[i];
    }
    std::size_t slot = 0;
    for (std::size_t at = text.find("{}"); at != std::string::npos; at = text.find("{}", at)) {
        const std::string token =
            "<" + (slot < smileys.slots().size() ? smileys.slots()[slot].number : std::string()) + ">";
        ++slot;
        text.replace(at, 2, token);
        at += token.size();
    }
    if (!fontSize.empty()) replaceAll(text, fontSize, fontSize.substr(0, 2) + "20 " + playerName + ": ");
    return text;
}

} // namespace

// --- The chat page ---------------------------------------------------------

void MainForm::writehtml(const std::string& pageName) {
    log_.label("Write HTML");
    const settings::Font& font = settings.user.mainFont;
    const std::string fontStyle = "text-decoration: none;font-family:" + font.name +
                                  ";font-size:" + std::to_string(font.size) +
                                  "pt;color:" + settings::colourToText(font.colour) + ";}";
    std::string page = "<html>\r\n<head>\r\n<title>" + pageName + "</title>\r\n"
                       "<link href=\"tarmacia2.css\" rel=\"stylesheet\" type=\"text/css\" "
                       "media=\"screen\" target=\"New\">\r\n"
                       "<style type=\"text/css\">\r\nh5 { " + fontStyle + "\r\n";
    if (pageName == "sample") page += "#container h5 { " + fontStyle + "\r\n";
    // The background takes the style's colour once the themes are built.
    page += "</style>\r\n</head>\r\n<body bgcolor=\"#FFFFFF\">\r\n</body>\r\n</html>\r\n";
    std::ofstream out(clientFolder_ / (pageName + ".htm"), std::ios::binary | std::ios::trunc);
    out << page;
    if (!out) throw std::runtime_error("Cannot create file " + pageName + ".htm");
}

void MainForm::applyStyle() {
    pending("themes: apply the style's colours and fonts to the windows");
    writehtml(kChatPage);
    inetcall();
}

void MainForm::inetcall() {
    log_.label("Inetcall - zuvo4");
    ++styleCounter;
    std::error_code ec;
    if (!fs::exists(clientFolder_ / (std::string(kChatPage) + ".htm"), ec)) return;
    // The start-up applies the style three times; only the last one loads.
    if (styleCounter <= 2) return;
    if (!pageLoad_) {
        pageLoad_ = ports_.clock.createTimer();
        pageLoad_->setSingleShot(true);
        pageLoad_->setInterval(10000);
        pageLoad_->onTimeout([this] { Timer8Timer(); });
    }
    pageLoad_->start();
}

void MainForm::Timer8Timer() {
    log_.label("Inetcall - zuvo4 - Timer");
    pageLoad_->stop();
    const fs::path page = clientFolder_ / (std::string(kChatPage) + ".htm");
    std::error_code ec;
    if (fs::exists(page, ec)) ports_.view.loadChatPage(page);
}

void MainForm::chatPageLoaded() {
    log_.label("Web Browser 4 Complete");
    ++pageLoads;
    if (pageLoads > 1 && directory_) directory_->fetch();
}

// Only web pages leave the chat view, in the player's browser; the view
// itself never follows a link.
void MainForm::chatLinkClicked(const std::string& url) {
    log_.label("WebBrowser 4 - Catch Links");
    const std::string lower = toLower(url);
    if (startsWith(lower, "http://") || startsWith(lower, "https://")) ports_.app.openUrl(url);
}

// --- Showing chat ----------------------------------------------------------

void MainForm::AppendToWB(const std::string& html) {
    log_.label("Append to Web Browser");
    mainWindowReady = 1;
    closePleaseWait();
    ports_.view.appendChatHtml(html);
}

void MainForm::sendmess(const std::string& text) {
    log_.label("Send Message");
    AppendToWB("<br>" + htmlEscape(text));
}

chat::FlagContext MainForm::flagContext() {
    chat::FlagContext context;
    context.clientFolder = clientFolder_;
    context.flagWidth = settings.misc.flagWidth;
    context.flagHeight = settings.misc.flagLength;
    context.findflag = [this](const std::string& file) {
        if (flagFetcher_) flagFetcher_->findflag(file);
    };
    return context;
}

// The chat font has no bold in the settings, so the weight stays empty.
std::string MainForm::cellStyle(const std::string& colour, bool familyWithAutoSize) const {
    const settings::Font& font = settings.user.mainFont;
    const std::string weight;
    if (settings.user.autoFont) {
        return "<td style= color:" + colour +
               (familyWithAutoSize ? ";font-family:" + font.name : std::string()) +
               ";font-size:" + std::to_string(autoFontSize + 5) + ";font-weight:" + weight + ";";
    }
    return "<td style = color:" + colour + ";font-family:" + font.name +
           ";font-size:" + std::to_string(font.size + 5) + ";font-weight:" + weight + ";";
}

void MainForm::logAndAppend(const std::string& html) {
    if (settings.user.options.logChat) {
        std::ofstream log(clientFolder_ / kChatLog, std::ios::binary | std::ios::app);
        log << html << "\r\n";
        if (!log) throw std::runtime_error(std::string("Cannot write ") + kChatLog);
    }
    AppendToWB(html);
}

void MainForm::showchat(const std::string& text) {
    log_.label("Show Chat");
    std::string s = text;
    if (s.find("Please Login") != std::string::npos) ports_.view.enableLoginButton();
    const std::string fontColour = settings::colourToText(settings.user.mainFont.colour);
    const bool welcome = startsWith(s, "Welcome to Tarmacia - v5");

    // A whisper: the words before the rich text name the other player.
    std::string whisperPrefix;
    if (startsWith(s, "Whis") || startsWith(s, " Whis")) {
        const std::size_t brace = s.find('{');
        if (brace != std::string::npos) {
            whisperPrefix = s.substr(0, brace);
            s = s.substr(brace, s.size() - 1 - brace);
        }
    }
    const bool rich = s.size() >= 5 && s.compare(2, 3, "rtf") == 0;
    const chat::FlagContext flags = flagContext();
    const fs::path& install = installFolder_;

    if (s.find(kSep) != std::string::npos && !rich) {
        // The welcome line: it carries the player's own name after the separator.
        playerName = s.substr(s.find(kSep) + 2);
        std::string line = s;
        replaceAll(line, kSep, "");
        line = chat::getflag(chat::getlink(chat::getsmiley(line, install, true)),
                             cellStyle(fontColour, true), flags);
        logAndAppend("<table><tr><td valign=\"top\">" + line + "</td></tr>");
    } else if (startsWith(s, "<table")) {
        // A table the server built: markup as it stands, flags at half size.
        std::string html = chat::getflag(chat::getlink(chat::getsmiley(s, install, false)), "", flags);
        replaceAll(html, "36", "18");
        replaceAll(html, "24", "12");
        logAndAppend(html);
    } else {
        const std::string plain = rich ? chat::rtfToText(s) : s;
        const std::string style = cellStyle(chat::getcolor(s, fontColour), false);
        const std::string line =
            chat::getflag(chat::getlink(chat::getsmiley(plain, install, true)), style, flags);
        if (!whisperPrefix.empty()) {
            // Whispers stay out of the chat log.
            AppendToWB(chat::getflag(htmlEscape(whisperPrefix), style, flags) + line);
        } else {
            logAndAppend(line);
        }
    }

    if (welcome) {
        welcomeSeen = 1;
        if (text.find(".000 as") != std::string::npos) {
            adminFlag = 1;
            pending("administration: show the Admin button");
        }
    }
}

void MainForm::whisshow(const std::string& payload) {
    log_.label("Show Whisper");
    const std::size_t sep = payload.find(kSep);
    const std::string sender = payload.substr(0, sep);
    const std::string words = sep == std::string::npos ? std::string() : payload.substr(sep + 2);
    showchat(" Whisper from " + sender + ": " + words);
    makesound(4);
}

// --- The chat input --------------------------------------------------------

void MainForm::chatKeyPress(ChatKey key) {
    const ChatInput input = ports_.view.chatInput();
    if (key == ChatKey::Enter) {
        if (chatMode == "v4") sendChatLine(input);
        return;
    }
    // A picture's slot holds the caret position right after it: Backspace
    // takes the picture before the caret, Delete the one after it.
    const int position = key == ChatKey::Backspace ? input.caret : input.caret + 1;
    int matches = 0;
    for (const chat::SmileySlot& slot : smileys_->slots())
        if (slot.position == position) ++matches;
    while (matches-- > 0) {
        log_.label("Remove Smiley");
        smileys_->removesmiley(position);
    }
}

void MainForm::sendChatLine(const ChatInput& input) {
    // The tokens go in at the recorded places, each in front of its picture.
    std::string text = input.text;
    int inserted = 0;
    for (const chat::SmileySlot& slot : smileys_->slots()) {
        if (slot.position == -1) continue;
        const int at = std::max(0, slot.position + 4 * inserted - 1);
        text.insert(byteLengthOfChars(text, static_cast<std::size_t>(at)), "<" + slot.number + ">");
        ++inserted;
    }
    // The picture itself travels as its token; a blank keeps its place.
    replaceAll(text, kPicture, " ");
    send("~2~" + chat::writeRtf(playerName + ": " + text, rtfColour(settings.user.chatTextColour)));
    ports_.view.clearChatInput();
    log_.label("Reset Smiley");
    smileys_->resetsmiley();
}

void MainForm::Whisper1Click(const std::string& target) {
    log_.label("Whisper 1");
    WhisperClick(target);
}

void MainForm::WhisperClick(const std::string& target) {
    log_.label("Whisper 2");
    const ChatInput input = ports_.view.chatInput();
    if (target.empty()) {
        messagebox({.title = lang_[20], .kind = "warn", .line1 = lang_[477], .line2 = lang_[458],
                    .button1 = lang_[459]});
        return;
    }
    if (input.text.empty()) {
        messagebox({.title = lang_[20], .kind = "warn", .line1 = lang_[476], .line2 = lang_[458],
                    .button1 = lang_[459]});
        return;
    }
    if (welcomeSeen == 0) {
        std::string words = input.text;
        replaceAll(words, kPicture, " ");
        words += "\r";
        ports_.view.clearChatInput();
        showchat("Whispered to " + target + ": " + words);
        send("~W~" + target + kSep + words);
    } else {
        // The input as rich text, its pictures embedded where they stand.
        std::string plain;
        std::vector<chat::RtfPicture> pictures;
        std::size_t picture = 0;
        for (std::size_t i = 0; i < input.text.size();) {
            if (input.text.compare(i, 3, kPicture) == 0) {
                chat::RtfPicture embedded{charCount(plain), {}};
                if (picture < input.pictures.size()) embedded.bytes = readBytes(input.pictures[picture]);
                ++picture;
                pictures.push_back(std::move(embedded));
                i += 3;
            } else {
                plain += input.text[i++];
            }
        }
        const std::string rtf = chat::writeRtf(plain, rtfColour(settings.user.chatTextColour),
                                               2 * settings.user.mainFont.size, pictures);
        const std::string words = richWhisper(rtf, *smileys_, playerName);
        send("~W~" + target + kSep + words);
        ports_.view.clearChatInput();
        log_.label("Reset Smiley");
        smileys_->resetsmiley();
        showchat("Whispered to " + target + ": " + words);
    }
    ports_.view.focusChatInput();
}

void MainForm::Nudge1Click(const std::string& target) {
    log_.label("Nudge");
    if (target.empty()) {
        messagebox({.title = lang_[264], .kind = "warn", .line1 = lang_[474], .line2 = lang_[458],
                    .button1 = lang_[459]});
    } else {
        showchat("Nudged " + target);
        send("~W~" + target + kSep + "Nudge<BR>");
    }
    ports_.view.focusChatInput();
}

void MainForm::JvImgBtn39Click() {
    log_.label("Sound Pit Doorbell");
    // The pit of the race announced last, if its slot still names it.
    const std::string& id = races_->lastAnnouncedRaceId();
    for (int slot = 0; slot < races::RaceList::kSlots; ++slot) {
        if (races_->entries()[static_cast<std::size_t>(slot)].raceId == id) {
            send("~a~" + std::to_string(slot));
            return;
        }
    }
}

void MainForm::Copy1Click() {
    log_.label("Copy to Clipboard");
    ports_.view.copyChatSelection();
}

// Pasted text cannot smuggle smiley tokens in.
void MainForm::Paste1Click(const std::string& clipboardText) {
    log_.label("Paste from Clipboard");
    std::string text;
    for (char c : clipboardText)
        if (c != '<' && c != '>') text += c;
    ports_.view.addChatInputLine(text);
}

void MainForm::ImageClick(int number) {
    const std::string digits = std::to_string(number);
    const fs::path picture = platform::resolvePath(clientFolder_, "smileybmp\\" + digits + ".bmp");
    std::error_code ec;
    if (!fs::is_regular_file(picture, ec))
        throw std::runtime_error("Cannot open file \"" + picture.string() + "\"");
    const int caret = ports_.view.insertChatPicture(picture);
    log_.label("Add Smiley");
    smileys_->addsmiley(digits, caret);
    ports_.view.focusChatInput();
    ports_.view.closePages();
}

} // namespace tarmacia::app
