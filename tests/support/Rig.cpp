// SPDX-License-Identifier: MIT
#include "tests/support/Rig.h"

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

int ScriptedPrompts::msgBox(const QString& prompt, int style, const QString& title)
{
    messages.push_back({prompt, style, title});
    shown << QStringLiteral("message ") + prompt;
    if (onMessage)
        onMessage(messages.back());
    if ((style & 0x7) == seams::vbYesNo) {
        if (answers.empty())
            return seams::vbYes;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return seams::vbOK;
}

QString ScriptedPrompts::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    inputs.push_back({prompt, title, defaultText});
    shown << QStringLiteral("input ") + title;
    if (inputAnswers.empty())
        return QString();
    const QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

int ScriptedPrompts::chooseTarget()
{
    ++targetDialogs;
    shown << QStringLiteral("target");
    if (targetAnswers.empty())
        return 0;
    const int answer = targetAnswers.front();
    targetAnswers.pop_front();
    return answer;
}

seams::WitsChoice ScriptedPrompts::witsWelcome()
{
    ++witsWelcomes;
    shown << QStringLiteral("wits welcome");
    if (witsAnswers.empty())
        return seams::WitsChoice::Closed;
    const seams::WitsChoice answer = witsAnswers.front();
    witsAnswers.pop_front();
    return answer;
}

void ScriptedPrompts::witsFailure(double failures)
{
    witsFailures.push_back(failures);
    shown << QStringLiteral("wits failure %1").arg(failures, 0, 'f', 0);
}

QString ScriptedPrompts::saveFileName(const QString& title, const QString&, const QString&)
{
    shown << QStringLiteral("save as: ") + title;
    if (savePaths.empty())
        return {};
    const QString path = savePaths.front();
    savePaths.pop_front();
    return path;
}

void ScriptedPrompts::showModal(QDialog& dialog)
{
    shown << QStringLiteral("dialog");
    if (!dialogHandlers.empty()) {
        auto handler = std::move(dialogHandlers.front());
        dialogHandlers.pop_front();
        handler(dialog);
    }
}

QStringList ScriptedPrompts::texts() const
{
    QStringList list;
    for (const auto& m : messages)
        list << m.text;
    return list;
}

Seams::Seams()
{
    seams::install(&rnd);
    seams::install(&prompts);
    seams::install(&host);
}

Seams::~Seams()
{
    seams::install(static_cast<seams::RandomSource*>(nullptr));
    seams::install(static_cast<seams::Prompter*>(nullptr));
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
    QObject::connect(&machine, &Machine::reelTimerIntervalSet,
                     [this](int ms) { timers << QStringLiteral("reel %1").arg(ms); });
    QObject::connect(&machine, &Machine::reelTimerEnabledSet,
                     [this](bool on) { timers << (on ? QStringLiteral("reel on") : QStringLiteral("reel off")); });
    QObject::connect(&machine, &Machine::noticeTimerIntervalSet,
                     [this](int ms) { timers << QStringLiteral("notice %1").arg(ms); });
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
    timers.clear();
    prompts.messages.clear();
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
    for (const game::ReelRow& row : s.rows) {
        if (!row.visible)
            faces += QLatin1Char('.');
        else
            faces += row.symbol < 0 ? QLatin1Char('-') : QChar(QLatin1Char(char('0' + row.symbol)));
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
    while (int(ticks.size()) < maxTicks && s.reelTimerEnabled && machine.spinning()) {
        Tick tick;
        tick.waitedMs = s.reelTimerMs;
        machine.tickReels();
        tick.faces = reelFaces(s);
        ticks.push_back(tick);
        if (afterTick)
            afterTick(int(ticks.size()));
    }
    return ticks;
}

} // namespace testing
