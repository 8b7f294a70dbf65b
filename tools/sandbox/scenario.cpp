#include "scenario.h"

#include "common/cp1252.h"

#include <QFile>
#include <QList>
#include <QStringDecoder>

#include <optional>

namespace sandbox {
namespace {

// A day; anything longer in a sandbox script is a typo.
constexpr int kMaxDelayMs = 24 * 60 * 60 * 1000;

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Reads one line left to right: words, then whatever text is left.
class LineReader {
public:
    explicit LineReader(QStringView line) : line_(line) {}

    QStringView word() {
        skipBlanks();
        const qsizetype start = pos_;
        while (pos_ < line_.size() && !isBlank(line_[pos_]))
            ++pos_;
        return line_.sliced(start, pos_ - start);
    }
    // The text after exactly one blank: a payload keeps its own spacing.
    QStringView textAfterOneBlank() const {
        return pos_ < line_.size() ? line_.sliced(pos_ + 1) : QStringView{};
    }
    bool atEnd() {
        skipBlanks();
        return pos_ == line_.size();
    }

private:
    void skipBlanks() {
        while (pos_ < line_.size() && isBlank(line_[pos_]))
            ++pos_;
    }

    QStringView line_;
    qsizetype pos_ = 0;
};

struct LineResult {
    std::optional<ScenarioStep> step;
    QString problem; // set when the line is bad
};

LineResult fail(QString message) {
    return {std::nullopt, std::move(message)};
}

std::optional<int> parseDelay(QStringView word, int minimum) {
    if (word.isEmpty()) return std::nullopt;
    for (const QChar c : word) {
        if (!c.isDigit()) return std::nullopt;
    }
    bool ok = false;
    const int value = word.toInt(&ok);
    if (!ok || value < minimum || value > kMaxDelayMs) return std::nullopt;
    return value;
}

QString firstUnencodable(QStringView text) {
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (!tarmacia::cp1252::encodeExact(one.toStdString())) {
            return QStringLiteral("\"%1\" (U+%2)").arg(one).arg(quint32(c), 4, 16, QChar(u'0'));
        }
    }
    return {};
}

std::optional<QByteArray> parseHex(LineReader& reader) {
    QByteArray bytes;
    for (QStringView word = reader.word(); !word.isEmpty(); word = reader.word()) {
        if (word.size() % 2 != 0) return std::nullopt;
        for (const QChar c : word) {
            if (!QStringView(u"0123456789abcdefABCDEF").contains(c)) return std::nullopt;
        }
        bytes += QByteArray::fromHex(word.toLatin1());
    }
    if (bytes.isEmpty()) return std::nullopt;
    return bytes;
}

bool isFlag(QStringView word) {
    if (word.isEmpty() || word.size() > 10) return false;
    for (const QChar c : word) {
        if (c.unicode() > 127 || !c.isLetterOrNumber()) return false;
    }
    return true;
}

// A player name goes into flag-tagged texts and "¬"-separated fields.
QString nameProblem(QStringView word) {
    if (word.isEmpty()) return QStringLiteral("a name is missing");
    for (const QChar c : word) {
        if (c == u'[' || c == u']' || c == u'~' || c == u'\u00AC' || c == u',')
            return QStringLiteral("\"%1\" cannot be in a name").arg(c);
    }
    if (const QString bad = firstUnencodable(word); !bad.isEmpty())
        return QStringLiteral("%1 cannot be sent as Windows-1252").arg(bad);
    return {};
}

QString textProblem(QStringView text) {
    if (const QString bad = firstUnencodable(text); !bad.isEmpty())
        return QStringLiteral("%1 cannot be sent as Windows-1252").arg(bad);
    return {};
}

LineResult parseAction(LineReader& reader, ScenarioStep step) {
    const QStringView action = reader.word();
    if (action.isEmpty())
        return fail(QStringLiteral("missing action (send, send-hex, close or say)"));

    if (action == u"send") {
        const QStringView text = reader.textAfterOneBlank();
        if (text.isEmpty()) return fail(QStringLiteral("send needs a text"));
        auto encoded = tarmacia::cp1252::encodeExact(text.toString().toStdString());
        if (!encoded) {
            return fail(
                QStringLiteral("%1 cannot be sent as Windows-1252").arg(firstUnencodable(text)));
        }
        step.action = ScenarioStep::Action::Send;
        step.bytes = QByteArray::fromStdString(*encoded);
        return {std::move(step), {}};
    }
    if (action == u"send-hex") {
        auto bytes = parseHex(reader);
        if (!bytes) return fail(QStringLiteral("send-hex needs hex bytes such as \"7E 32 7E 00\""));
        step.action = ScenarioStep::Action::Send;
        step.bytes = std::move(*bytes);
        return {std::move(step), {}};
    }
    if (action == u"close") {
        if (!reader.atEnd()) return fail(QStringLiteral("close takes nothing after it"));
        step.action = ScenarioStep::Action::Close;
        return {std::move(step), {}};
    }
    if (action == u"say") {
        if (step.trigger == ScenarioStep::Trigger::OnConnect)
            return fail(QStringLiteral("say runs on the lobby's clock: use after or every"));
        const QStringView speaker = reader.word();
        if (QString problem = nameProblem(speaker); !problem.isEmpty()) return fail(problem);
        const QStringView text = reader.textAfterOneBlank();
        if (text.isEmpty()) return fail(QStringLiteral("say needs a name and a text"));
        if (QString problem = textProblem(text); !problem.isEmpty()) return fail(problem);
        step.action = ScenarioStep::Action::Say;
        step.speaker = speaker.toString();
        step.text = text.toString();
        return {std::move(step), {}};
    }
    return fail(QStringLiteral("unknown action \"%1\" (send, send-hex, close or say)").arg(action));
}

// The lobby lines: they set up the peer rather than add a step. Returns the
// problem, empty when the line is good.
QString parseRace(LineReader& reader, Scenario& scenario) {
    HostedRace race;
    const QStringView racers = reader.word();
    for (const QStringView name : racers.split(u',')) {
        if (QString problem = nameProblem(name); !problem.isEmpty())
            return QStringLiteral("race racers: ") + problem;
        race.racers.push_back(name.toString());
    }
    race.host = race.racers.front();
    const QStringView game = reader.word();
    if (!isFlag(game) || game.size() > 5)
        return QStringLiteral("race needs a game code such as PU");
    race.game = game.toString();
    const QStringView max = reader.word();
    bool ok = false;
    race.maxRacers = max.toInt(&ok);
    if (!ok || race.maxRacers < 1 || race.maxRacers > 99)
        return QStringLiteral("race needs the most racers, 1 to 99, not \"%1\"").arg(max);
    const QString rest = reader.textAfterOneBlank().toString();
    if (QString problem = textProblem(rest); !problem.isEmpty()) return problem;
    if (rest.contains(u'\u00AC')) return QStringLiteral("\"\u00AC\" would split the race's fields");
    const QStringList parts = rest.split(u'|');
    if (parts.size() > 3) return QStringLiteral("race takes TITLE | SHORT | LONG at most");
    race.title = parts.value(0).trimmed();
    race.detailShort = parts.value(1).trimmed();
    race.detailLong = parts.value(2).trimmed();
    if (race.title.isEmpty()) return QStringLiteral("race needs a title");
    scenario.races.push_back(std::move(race));
    return {};
}

QString parseLobbyLine(QStringView keyword, LineReader& reader, Scenario& scenario) {
    scenario.needsPeer = true;
    if (keyword == u"open") {
        if (!reader.atEnd()) return QStringLiteral("open takes nothing after it");
        scenario.open = true;
        return {};
    }
    if (keyword == u"idle") {
        const QStringView word = reader.word();
        const auto ms = parseDelay(word, 0);
        if (!ms || !reader.atEnd())
            return QStringLiteral("idle needs milliseconds from 0 to %1, not \"%2\"")
                .arg(kMaxDelayMs)
                .arg(word);
        scenario.idleMs = *ms;
        return {};
    }
    if (keyword == u"player") {
        SimulatedPlayer player;
        const QStringView name = reader.word();
        if (QString problem = nameProblem(name); !problem.isEmpty()) return problem;
        player.name = name.toString();
        if (const QStringView flag = reader.word(); !flag.isEmpty()) {
            if (!isFlag(flag)) return QStringLiteral("a flag is up to 10 letters and digits");
            player.flag = flag.toString();
        }
        if (!reader.atEnd()) return QStringLiteral("player takes NAME and FLAG only");
        scenario.players.push_back(std::move(player));
        return {};
    }
    if (keyword == u"account") {
        ScenarioAccount account;
        const QStringView name = reader.word();
        if (QString problem = nameProblem(name); !problem.isEmpty()) return problem;
        account.name = name.toString();
        const QStringView password = reader.word();
        if (password.isEmpty()) return QStringLiteral("account needs a password");
        if (QString problem = textProblem(password); !problem.isEmpty()) return problem;
        account.password = password.toString();
        for (QStringView word = reader.word(); !word.isEmpty(); word = reader.word()) {
            if (word == u"admin") {
                account.admin = true;
            } else if (isFlag(word)) {
                account.flag = word.toString();
            } else {
                return QStringLiteral("account takes a flag and \"admin\", not \"%1\"").arg(word);
            }
        }
        scenario.accounts.push_back(std::move(account));
        return {};
    }
    return parseRace(reader, scenario);
}

bool isLobbyKeyword(QStringView word) {
    return word == u"open" || word == u"idle" || word == u"player" || word == u"account" ||
           word == u"race";
}

LineResult parseLine(QStringView line, int lineNumber, Scenario& scenario) {
    LineReader reader(line);
    const QStringView trigger = reader.word();
    if (trigger.isEmpty() || trigger.startsWith(u'#')) return {};
    if (isLobbyKeyword(trigger)) return {std::nullopt, parseLobbyLine(trigger, reader, scenario)};

    ScenarioStep step;
    step.line = lineNumber;
    if (trigger == u"on-connect") {
        step.trigger = ScenarioStep::Trigger::OnConnect;
    } else if (trigger == u"after" || trigger == u"every") {
        const bool every = trigger == u"every";
        const QStringView word = reader.word();
        const auto delay = parseDelay(word, every ? 1 : 0);
        if (!delay) {
            return fail(QStringLiteral("%1 needs milliseconds from %2 to %3, not \"%4\"")
                            .arg(trigger)
                            .arg(every ? 1 : 0)
                            .arg(kMaxDelayMs)
                            .arg(word));
        }
        step.trigger = every ? ScenarioStep::Trigger::Every : ScenarioStep::Trigger::After;
        step.delayMs = *delay;
    } else {
        return fail(
            QStringLiteral("unknown line \"%1\" (on-connect, after, every, open, idle, player, "
                           "account or race)")
                .arg(trigger));
    }
    return parseAction(reader, std::move(step));
}

} // namespace

Scenario parseScenario(QByteArrayView utf8Text) {
    Scenario scenario;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < utf8Text.size()) {
        qsizetype end = utf8Text.indexOf('\n', start);
        if (end < 0) end = utf8Text.size();
        QByteArrayView raw = utf8Text.sliced(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (raw.endsWith('\r')) raw.chop(1);

        // Stateless, so that a sequence cut at the end of a line is an error too.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString line = decoder.decode(raw);
        if (decoder.hasError()) {
            scenario.problems.push_back({lineNumber, QStringLiteral("not UTF-8 text")});
            continue;
        }
        LineResult result = parseLine(line, lineNumber, scenario);
        if (result.step) {
            if (result.step->action == ScenarioStep::Action::Say) scenario.needsPeer = true;
            scenario.steps.push_back(std::move(*result.step));
        } else if (!result.problem.isEmpty()) {
            scenario.problems.push_back({lineNumber, std::move(result.problem)});
        }
    }
    // A race's host shows the flag of the player of that name, whichever
    // line came first.
    for (HostedRace& race : scenario.races) {
        for (const SimulatedPlayer& player : scenario.players) {
            if (player.name == race.host) race.flag = player.flag;
        }
    }
    return scenario;
}

Scenario loadScenario(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Scenario scenario;
        scenario.problems.push_back({0, file.errorString()});
        return scenario;
    }
    return parseScenario(file.readAll());
}

QString describeProblem(const QString& fileName, const ScenarioProblem& problem) {
    if (problem.line == 0) return QStringLiteral("%1: %2").arg(fileName, problem.message);
    return QStringLiteral("%1:%2: %3").arg(fileName).arg(problem.line).arg(problem.message);
}

} // namespace sandbox
