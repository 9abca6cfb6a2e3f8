// SPDX-License-Identifier: MIT
#include "tests/support/Rig.h"

#include <QHash>

#include <algorithm>

namespace testing {

void ScriptedRandom::script(std::initializer_list<double> values)
{
    values_.insert(values_.end(), values.begin(), values.end());
}

void ScriptedRandom::script(const std::vector<double>& values)
{
    values_.insert(values_.end(), values.begin(), values.end());
}

double ScriptedRandom::next()
{
    ++draws_;
    if (values_.empty()) {
        if (!exhausted_)
            qWarning("the scripted random numbers ran out");
        exhausted_ = true;
        return 0.0;
    }
    const double value = values_.front();
    values_.pop_front();
    return value;
}

void ScriptedRandom::clear()
{
    values_.clear();
    exhausted_ = false;
    draws_ = 0;
}

double SeededRandom::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return double(z >> 11) * 0x1.0p-53;
}

QString NoticeName(game::Notice::Kind kind)
{
    using N = game::Notice;
    switch (kind) {
    case N::BetLimit: return QStringLiteral("BetLimit");
    case N::SoundDeviceFailed: return QStringLiteral("SoundDeviceFailed");
    case N::Bust: return QStringLiteral("Bust");
    case N::Goal: return QStringLiteral("Goal");
    case N::LoanNotNeeded: return QStringLiteral("LoanNotNeeded");
    case N::LoanRefused: return QStringLiteral("LoanRefused");
    case N::BigLoanRefused: return QStringLiteral("BigLoanRefused");
    case N::ProbabilityChanged: return QStringLiteral("ProbabilityChanged");
    case N::Welcome: return QStringLiteral("Welcome");
    case N::DenominatorRefused: return QStringLiteral("DenominatorRefused");
    case N::CheckPassed: return QStringLiteral("CheckPassed");
    case N::WitsFailure: return QStringLiteral("WitsFailure");
    case N::CurrentProbability: return QStringLiteral("CurrentProbability");
    case N::AlreadyRunning: return QStringLiteral("AlreadyRunning");
    case N::CannotLock: return QStringLiteral("CannotLock");
    case N::PairMoved: return QStringLiteral("PairMoved");
    case N::PairNotMoved: return QStringLiteral("PairNotMoved");
    case N::LoadFailed: return QStringLiteral("LoadFailed");
    case N::SaveFailed: return QStringLiteral("SaveFailed");
    case N::FilesMissing: return QStringLiteral("FilesMissing");
    }
    return QStringLiteral("?");
}

void ScriptedPrompts::tell(const game::Notice& notice)
{
    notices.push_back(notice);
    QString line = NoticeName(notice.kind);
    if (notice.number != 0)
        line += QLatin1Char(' ') + QString::number(notice.number);
    if (!notice.text.isEmpty())
        line += QLatin1Char(' ') + notice.text;
    shown << line;
    if (onNotice)
        onNotice(notices.back());
}

int ScriptedPrompts::askTarget()
{
    ++targetQuestions;
    shown << QStringLiteral("target");
    if (targetAnswers.empty())
        return 0;
    const int answer = targetAnswers.front();
    targetAnswers.pop_front();
    return answer;
}

QString ScriptedPrompts::askDenominator(const QString& current)
{
    denominatorQuestions.push_back(current);
    shown << QStringLiteral("denominator ") + current;
    if (inputAnswers.empty())
        return QString();
    const QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

game::WitsChoice ScriptedPrompts::askWits()
{
    ++witsQuestions;
    shown << QStringLiteral("wits");
    if (witsAnswers.empty())
        return game::WitsChoice::Closed;
    const game::WitsChoice answer = witsAnswers.front();
    witsAnswers.pop_front();
    return answer;
}

std::vector<game::Notice::Kind> ScriptedPrompts::kinds() const
{
    std::vector<game::Notice::Kind> list;
    for (const game::Notice& n : notices)
        list.push_back(n.kind);
    return list;
}

bool ScriptedPrompts::told(game::Notice::Kind kind) const
{
    for (const game::Notice& n : notices)
        if (n.kind == kind)
            return true;
    return false;
}

Seams::Seams()
{
    seams::install(&rnd);
    game::installPrompter(&prompts);
    seams::install(&host);
}

Seams::~Seams()
{
    seams::install(static_cast<seams::RandomSource*>(nullptr));
    game::installPrompter(nullptr);
    seams::install(static_cast<seams::Host*>(nullptr));
}

QString CueName(game::Cue cue)
{
    switch (cue) {
    case game::Cue::Roll: return QStringLiteral("Roll");
    case game::Cue::Reach: return QStringLiteral("Reach");
    case game::Cue::AllRotation: return QStringLiteral("AllRotation");
    case game::Cue::Fever: return QStringLiteral("Fever");
    case game::Cue::ChanceIntro: return QStringLiteral("ChanceIntro");
    case game::Cue::ChanceLoop: return QStringLiteral("ChanceLoop");
    case game::Cue::Calm: return QStringLiteral("Calm");
    case game::Cue::Notice: return QStringLiteral("Notice");
    case game::Cue::Stop: return QStringLiteral("Stop");
    case game::Cue::Jackpot: return QStringLiteral("Jackpot");
    }
    return QString();
}

MachineRig::MachineRig(game::SoundSwitch soundSwitch)
{
    using game::Machine;
    QObject::connect(&machine, &Machine::cue, [this](game::Cue c) {
        sound << CueName(c);
        if (failCue && failCue(c))
            machine.soundDeviceFailed();
    });
    QObject::connect(&machine, &Machine::musicStopped, [this] { sound << QStringLiteral("stop music"); });
    QObject::connect(&machine, &Machine::soundStopped, [this] { sound << QStringLiteral("stop all"); });
    Machine::StartValues values;
    values.sound = soundSwitch;
    machine.startUp(values);
    clearLogs();
}

QStringList MachineRig::cues() const
{
    QStringList list;
    for (const QString& entry : sound)
        if (!entry.startsWith(QLatin1String("stop ")))
            list << entry;
    return list;
}

int MachineRig::musicStops() const
{
    return int(sound.count(QStringLiteral("stop music")));
}

void MachineRig::clearLogs()
{
    sound.clear();
    prompts.notices.clear();
    prompts.shown.clear();
}

void MachineRig::hitAndStart(const std::vector<double>& draws, std::initializer_list<double> later)
{
    rnd.push(pick(0, 4));
    machine.pickCover(0);
    rnd.script(draws);
    rnd.script(later);
    machine.startSpin();
}

QString reelFaces(const game::MachineState& s)
{
    QString faces;
    for (const game::ReelState& reel : s.reels) {
        for (const game::ReelRow& row : reel.faces) {
            if (!row.visible)
                faces += QLatin1Char('.');
            else
                faces += row.symbol < 0 ? QLatin1Char('-') : QChar(QLatin1Char(char('0' + row.symbol)));
        }
    }
    return faces;
}

QString payLine(const game::MachineState& s)
{
    const QString faces = reelFaces(s);
    return QString() + faces[1] + faces[4] + faces[7];
}

std::vector<double> spinDraws(int left, int centre, int right, int reach, int drawNumber, int denominator)
{
    return {pick(left, 9), pick(centre, 9), pick(right, 9), pick(reach, 3), pick(drawNumber - 1, denominator)};
}

std::vector<Tick> runReels(game::Machine& machine, int maxTicks, const std::function<void(int)>& afterTick)
{
    std::vector<Tick> ticks;
    const game::MachineState& s = machine.state();
    while (int(ticks.size()) < maxTicks && s.reelsRunning && machine.spinning()) {
        Tick tick;
        tick.waitedMs = machine.clock().interval(game::TimerId::Reel);
        machine.clock().fire(game::TimerId::Reel);
        tick.faces = reelFaces(s);
        ticks.push_back(tick);
        if (afterTick)
            afterTick(int(ticks.size()));
    }
    return ticks;
}

namespace {

QString lampName(game::LampState state)
{
    switch (state) {
    case game::LampState::Dark: return QStringLiteral("Dark");
    case game::LampState::Lit: return QStringLiteral("Lit");
    case game::LampState::Premium: return QStringLiteral("Premium");
    }
    return QString();
}

QString faceName(game::CoverFace face)
{
    switch (face) {
    case game::CoverFace::Down: return QStringLiteral("Down");
    case game::CoverFace::Hit: return QStringLiteral("Hit");
    case game::CoverFace::Miss: return QStringLiteral("Miss");
    }
    return QString();
}

QString soundName(game::SoundSwitch sound)
{
    switch (sound) {
    case game::SoundSwitch::On: return QStringLiteral("On");
    case game::SoundSwitch::Off: return QStringLiteral("Off");
    case game::SoundSwitch::Unset: return QStringLiteral("Unset");
    }
    return QString();
}

// Stable-sorts lines by their first word, the fact they report.
QStringList groupedByFact(QStringList lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
        return a.section(QLatin1Char(' '), 0, 0) < b.section(QLatin1Char(' '), 0, 0);
    });
    return lines;
}

} // namespace

QString actionsText(const game::Actions& actions)
{
    QStringList live;
    if (actions.coversLive)
        live << QStringLiteral("covers");
    if (actions.startLive)
        live << QStringLiteral("start");
    const char* stops[] = {"stopL", "stopC", "stopR"};
    for (int i = 0; i < 3; ++i)
        if (actions.stopsLive[i])
            live << QLatin1String(stops[i]);
    if (actions.busy)
        live << QStringLiteral("busy");
    return live.isEmpty() ? QStringLiteral("none") : live.join(QLatin1Char(' '));
}

SignalLog::SignalLog(const game::Machine& machine)
{
    using game::Machine;
    const QObject* c = &context_;
    auto line = [this](const QString& text) { lines << text; };
    auto number = [line](const char* fact) {
        return [line, fact](qint64 value) { line(QStringLiteral("%1 %2").arg(QLatin1String(fact)).arg(value)); };
    };
    QObject::connect(&machine, &Machine::moneyChanged, c, number("money"));
    QObject::connect(&machine, &Machine::betChanged, c, number("bet"));
    QObject::connect(&machine, &Machine::lastWinChanged, c, number("win"));
    QObject::connect(&machine, &Machine::chanceCounterChanged, c, number("counter"));
    QObject::connect(&machine, &Machine::targetShownChanged, c, number("target"));
    QObject::connect(&machine, &Machine::targetBought, c, number("bought"));
    QObject::connect(&machine, &Machine::loanGranted, c, number("loan"));
    QObject::connect(&machine, &Machine::goalReached, c, number("goal"));
    QObject::connect(&machine, &Machine::reelChanged, c, [line](game::Reel reel, const game::ReelFaces& faces) {
        game::MachineState one;
        one.reels[0].faces = faces;
        line(QStringLiteral("reel %1 %2").arg(QLatin1Char("LCR"[int(reel)])).arg(reelFaces(one).left(3)));
    });
    QObject::connect(&machine, &Machine::coverChanged, c, [line](int cover, game::CoverFace face) {
        line(QStringLiteral("cover %1 %2").arg(cover).arg(faceName(face)));
    });
    QObject::connect(&machine, &Machine::actionsChanged, c,
                     [line](const game::Actions& a) { line(QStringLiteral("actions ") + actionsText(a)); });
    QObject::connect(&machine, &Machine::frameLampsChanged, c,
                     [line](game::LampState state) { line(QStringLiteral("frame ") + lampName(state)); });
    QObject::connect(&machine, &Machine::noticeLampsChanged, c,
                     [line](game::LampState state) { line(QStringLiteral("notice ") + lampName(state)); });
    QObject::connect(&machine, &Machine::soundSwitchChanged, c,
                     [line](game::SoundSwitch sound) { line(QStringLiteral("sound ") + soundName(sound)); });
    QObject::connect(&machine, &Machine::unlockedChanged, c,
                     [line](bool on) { line(on ? QStringLiteral("unlocked on") : QStringLiteral("unlocked off")); });
    QObject::connect(&machine, &Machine::calmLampsChanged, c,
                     [line](bool on) { line(on ? QStringLiteral("calm on") : QStringLiteral("calm off")); });
    QObject::connect(&machine, &Machine::coverPicked, c,
                     [line](bool hit) { line(hit ? QStringLiteral("picked hit") : QStringLiteral("picked miss")); });
    QObject::connect(&machine, &Machine::jackpotPaid, c, [line](int symbol, qint64 win) {
        line(QStringLiteral("paid %1 %2").arg(symbol).arg(win));
    });
    QObject::connect(&machine, &Machine::spinStarted, c, [line] { line(QStringLiteral("spin started")); });
    QObject::connect(&machine, &Machine::spinEnded, c, [line] { line(QStringLiteral("spin ended")); });
}

QStringList SignalLog::byFact() const
{
    return groupedByFact(lines);
}

QStringList SignalLog::repeats() const
{
    static const QStringList facts{"money", "bet", "win", "counter", "target", "actions", "frame", "notice",
                                   "sound", "unlocked", "calm"};
    static const QStringList factsOfOne{"cover", "reel"}; // one fact each cover and each reel
    QHash<QString, QString> last;
    QStringList repeated;
    for (const QString& line : lines) {
        const QString fact = line.section(QLatin1Char(' '), 0, 0);
        const int valueAt = factsOfOne.contains(fact) ? 2 : facts.contains(fact) ? 1 : -1;
        if (valueAt < 0)
            continue;
        const QString key = line.section(QLatin1Char(' '), 0, valueAt - 1);
        const QString value = line.section(QLatin1Char(' '), valueAt);
        if (last.contains(key) && last.value(key) == value)
            repeated << line;
        last.insert(key, value);
    }
    return repeated;
}

QStringList SignalLog::byFact(const QString& joined)
{
    return groupedByFact(joined.split(QStringLiteral(" | "), Qt::SkipEmptyParts));
}

} // namespace testing
