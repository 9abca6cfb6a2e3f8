// SPDX-License-Identifier: MIT
// Random play: seeded events fired at the machine, each only when the window
// would let its control take input, with every prompt answered and sound
// failures drawn from a second seeded generator. After each event the rules'
// invariants must hold; at the end the run must have been through every part
// of the game, from loans to the $10,000,000 goal.
#include "game/PlayRecorder.h"
#include "game/PlayTally.h"
#include "tests/support/Rig.h"

#include <QtTest>

#include <array>
#include <deque>
#include <utility>

using namespace testing;

namespace {

constexpr int Events = 100000;
// The first events play at the normal 300, where the money runs out and
// loans are taken; then at 6, where every spin pays, the money climbs past
// $1,000,000 to the goal. Once the goal unlocks the probability command, its
// answers set the denominator.
constexpr int NormalOddsEvents = 4000;

enum class Act {
    Cover, Start, Stop, ReelTick, WalkAway, FrameTick, NoticeTick, Borrow100, Borrow1000, Sound, Probability
};

// Answers to the probability command's input box.
const std::array<const char*, 12> InputAnswers = {"6",    "300", "5000",  "",   "abc", "1e9",
                                                  "-7", " 42 ", "6.5", "40000", "12",  "0"};

struct Event {
    int index = 0;
    Act act = Act::FrameTick;
    int arg = 0; // the cover 0..3 or the stop button 0..2
};

QString Describe(const Event& e)
{
    static const char* const names[] = {"cover",       "Start",       "stop",         "reel tick",    "walk away",
                                        "frame tick",  "notice tick", "borrow $100",  "borrow $1000", "sound switch",
                                        "probability"};
    QString text = QStringLiteral("#%1 %2").arg(e.index).arg(QLatin1String(names[int(e.act)]));
    if (e.act == Act::Cover)
        text += QLatin1Char(' ') + QChar(QLatin1Char(char('A' + e.arg)));
    if (e.act == Act::Stop)
        text += QStringLiteral(" %1").arg(e.arg);
    return text;
}

// What the run went through.
struct Seen {
    int jackpots = 0, chanceSpins = 0, lineUps = 0, busts = 0;
    int targets = 0, goals = 0, loans = 0, soundFailures = 0;
};

class Player {
public:
    explicit Player(quint64 seed)
        : draws(seed), choices(seed ^ 0x5DEECE66DULL)
    {
        seams::install(&draws); // the machine draws from the seeded source, not the rig's script
        rig.failCue = [this](game::Cue) { return roll(25) == 0; };
        startMoney = rig.s().money;
        QObject::connect(&recorder, &game::PlayRecorder::played, [this](const game::PlayRecord& r) { tally.add(r); });
    }

    Event choose(int index);
    void fire(const Event& e);
    QString broken() const;

    SeededRandom draws, choices;
    MachineRig rig;
    game::PlayRecorder recorder{rig.machine};
    Seen seen;
    // The history's account of the money, from the machine's entries.
    game::PlayTally tally;
    qint64 startMoney = 0;

private:
    int roll(int n) { return int(choices.next() * n); }
};

Event Player::choose(int index)
{
    const game::MachineState& s = rig.s();
    // Now and then the player walks away from a slot-chance spin and lets
    // the reels run out their counts: the bust.
    if (s.slotChanceSpin && s.reelsRunning && rig.machine.spinning() && roll(1000) == 0)
        return {index, Act::WalkAway};
    std::array<std::pair<Event, int>, 16> options; // each with its weight
    int count = 0, total = 0;
    auto offer = [&](Act act, int weight, int arg = 0) {
        options[count++] = {Event{index, act, arg}, weight};
        total += weight;
    };
    if (s.actions.coversLive)
        offer(Act::Cover, 30, roll(4));
    // A greedy player: BET 10 before Start unless the money runs out; any
    // BET through a slot chance.
    if (s.actions.startLive && (s.chanceLeft != 0 || s.bet == game::MaxBet || s.money < game::CoverPrice))
        offer(Act::Start, 60);
    for (int reel = 0; reel < 3; ++reel)
        if (s.actions.stopsLive[std::size_t(reel)])
            offer(Act::Stop, 20, reel);
    // The reel timer runs on after a slot-chance spin; its idle ticks are rarer.
    if (s.reelsRunning)
        offer(Act::ReelTick, rig.machine.spinning() ? 60 : 2);
    offer(Act::FrameTick, 1);
    offer(Act::NoticeTick, 1);
    if (!s.actions.busy) {
        const bool broke = s.money < game::CoverPrice;
        offer(Act::Borrow100, broke ? 20 : 1);
        offer(Act::Borrow1000, broke ? 10 : 1);
        offer(Act::Sound, 1);
        if (s.unlocked)
            offer(Act::Probability, 1);
    }
    int r = roll(total), i = 0;
    while (r >= options[i].second)
        r -= options[i++].second;
    return options[i].first;
}

void Player::fire(const Event& e)
{
    game::Machine& m = rig.machine;
    const game::MachineState& s = rig.s();
    const game::MachineState before = s;
    const int targetDialogs = rig.prompts.targetQuestions;
    rig.clearLogs();
    switch (e.act) {
    case Act::Cover:
        rig.prompts.targetAnswers.assign(1, roll(10));
        m.pickCover(e.arg);
        break;
    case Act::Start: m.startSpin(); break;
    case Act::Stop: m.pressStop(game::Reel(e.arg)); break;
    case Act::ReelTick: m.clock().fire(game::TimerId::Reel); break;
    case Act::WalkAway:
        while (s.reelsRunning && m.spinning())
            m.clock().fire(game::TimerId::Reel);
        break;
    case Act::FrameTick: m.clock().fire(game::TimerId::FrameLamps); break;
    case Act::NoticeTick: m.clock().fire(game::TimerId::NoticeLamps); break;
    case Act::Borrow100: m.borrow100(); break;
    case Act::Borrow1000: m.borrow1000(); break;
    case Act::Sound: m.toggleSound(); break;
    case Act::Probability:
        rig.prompts.inputAnswers.assign(1, QString::fromLatin1(InputAnswers[roll(int(InputAnswers.size()))]));
        m.changeProbability();
        break;
    }

    // A cover click clears the last win, so a new one is always a jackpot.
    if (s.lastWin > 0 && s.lastWin != before.lastWin) {
        ++seen.jackpots;
        seen.lineUps += s.slotChanceSpin;
    }
    seen.chanceSpins += e.act == Act::Start && s.slotChanceSpin;
    seen.targets += rig.prompts.targetQuestions > targetDialogs && s.targetSymbol != 0;
    seen.loans += (e.act == Act::Borrow100 || e.act == Act::Borrow1000) && s.money > before.money;
    seen.soundFailures += e.act == Act::Start && before.sound == game::SoundSwitch::On
        && s.sound == game::SoundSwitch::Off;
    for (const game::Notice& notice : rig.prompts.notices) {
        seen.busts += notice.kind == game::Notice::Bust;
        seen.goals += notice.kind == game::Notice::Goal;
    }
}

QString Player::broken() const
{
    const game::MachineState& s = rig.s();
    const bool spinning = rig.machine.spinning();
    if (s.money < 0)
        return QStringLiteral("money %1").arg(s.money);
    const qint64 accounted = startMoney + tally.paidOut - tally.paidIn + tally.loans + tally.goalResets;
    if (s.money != accounted)
        return QStringLiteral("money %1, the history accounts for %2").arg(s.money).arg(accounted);
    if (s.bet < 0 || s.bet > game::MaxBet)
        return QStringLiteral("BET %1").arg(s.bet);
    if (s.chanceLeft < 0 || s.chanceLeft > game::ChanceSpins)
        return QStringLiteral("%1 slot-chance spins left").arg(s.chanceLeft);
    if (s.chanceCounter < 0 || s.chanceCounter > game::ChanceSpins)
        return QStringLiteral("the slot-chance counter shows %1").arg(s.chanceCounter);
    // The counter follows the spins left at the end of a spin, so it shows 0
    // whenever none remain.
    if (!spinning && s.chanceCounter != s.chanceLeft)
        return QStringLiteral("the slot-chance counter shows %1 with %2 spins left")
            .arg(s.chanceCounter)
            .arg(s.chanceLeft);
    const auto& a = s.actions;
    const bool stopLive = a.stopsLive[0] || a.stopsLive[1] || a.stopsLive[2];
    if (!a.coversLive && !a.startLive && !stopLive && !(s.reelsRunning && spinning))
        return QStringLiteral("no control takes input and no reel turns");
    return QString();
}

} // namespace

class TestRandomPlay : public QObject {
    Q_OBJECT
private slots:
    void play_data()
    {
        QTest::addColumn<quint64>("seed");
        for (quint64 seed : {20240611ULL, 7ULL, 0xC0FFEEULL})
            QTest::addRow("seed %llu", seed) << seed;
    }
    void play()
    {
        QFETCH(quint64, seed);
        Player player(seed);
        std::deque<Event> last;
        for (int i = 0; i < Events; ++i) {
            if (!player.rig.s().unlocked)
                player.rig.edit().denominator = i < NormalOddsEvents ? 300 : 6;
            last.push_back(player.choose(i));
            if (last.size() > 20)
                last.pop_front();
            player.fire(last.back());
            const QString fault = player.broken();
            if (!fault.isEmpty()) {
                QStringList events;
                for (const Event& e : last)
                    events << Describe(e);
                QFAIL(qPrintable(QStringLiteral("seed %1, event %2: %3; the last events:\n    %4")
                                     .arg(seed).arg(i).arg(fault, events.join(QStringLiteral("\n    ")))));
            }
        }
        const Seen& n = player.seen;
        const std::pair<const char*, int> explored[] = {
            {"jackpots", n.jackpots}, {"slot-chance spins", n.chanceSpins}, {"slot-chance line-ups", n.lineUps},
            {"busts", n.busts},       {"targets bought", n.targets},        {"goals", n.goals},
            {"loans", n.loans},       {"sound failures", n.soundFailures}};
        QStringList counts;
        for (const auto& [what, count] : explored)
            counts << QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(count);
        qInfo("%s", qPrintable(counts.join(QStringLiteral(", "))));
        for (const auto& [what, count] : explored)
            QVERIFY2(count > 0, qPrintable(QStringLiteral("seed %1: no %2").arg(seed).arg(QLatin1String(what))));
        // Every draw came from the seeded source.
        QCOMPARE(player.rig.rnd.draws(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRandomPlay)
#include "test_random_play.moc"
