// SPDX-License-Identifier: MIT
// Auto play: each limit hands the machine back at the right spin, the
// player takes it back with a key, a click or a prompt, its hand draws
// nothing from the game's random numbers, and a long run keeps the money
// the history accounts for.
#include "game/AutoPlay.h"
#include "game/PlayRecorder.h"
#include "game/PlayTally.h"
#include "tests/support/SessionRig.h"
#include "ui/DialogPrompter.h"

#include <QtTest>

using namespace testing;
using game::AutoPlay;
using game::AutoPlayLimits;
using Ending = game::AutoPlay::Ending;

Q_DECLARE_METATYPE(AutoPlayLimits)

namespace {

// Enough simulated time for any spin: a slot chance's reels never stop by
// themselves within it.
constexpr qint64 LongestRunMs = 4LL * 60 * 60 * 1000;

// A machine playing seeded draws at a denominator where jackpots come often,
// with its auto play, and the history's entries added up.
struct AutoRig {
    explicit AutoRig(quint64 seed, double denominator = 30)
        : draws(seed)
    {
        seams::install(&draws);
        rig.edit().denominator = denominator;
        QObject::connect(&recorder, &game::PlayRecorder::played, [this](const game::PlayRecord& r) {
            tally.add(r);
            if (r.kind == game::PlayKind::Spin)
                spins.push_back(r);
        });
        QObject::connect(&autoPlay, &AutoPlay::ended, [this](Ending why) { ending = why; });
    }
    // Steps the clock until auto play has handed the machine back.
    void playOut()
    {
        for (qint64 ms = 0; autoPlay.running() && ms < LongestRunMs; ms += 1000)
            rig.machine.clock().advance(1000);
    }

    SeededRandom draws;
    MachineRig rig;
    AutoPlay autoPlay{rig.machine, 12345};
    game::PlayRecorder recorder{rig.machine};
    game::PlayTally tally;
    std::vector<game::PlayRecord> spins;
    std::optional<Ending> ending;
};

// Limits with one set.
template <class Set>
AutoPlayLimits With(Set set)
{
    AutoPlayLimits limits;
    set(limits);
    return limits;
}

struct Press {
    qint64 atMs;
    AutoPlay::Move move;
};

// Auto play's spins, pressed by hand at the same moments on a fresh machine:
// every fact the machine signals, in order.
QStringList PlayedByHand(quint64 seed, const std::vector<Press>& presses, qint64 untilMs)
{
    AutoRig hand(seed);
    SignalLog log(hand.rig.machine);
    game::Machine& m = hand.rig.machine;
    for (const Press& p : presses) {
        m.clock().advance(p.atMs - m.clock().now());
        switch (p.move.press) {
        case AutoPlay::Press::Cover: m.pickCover(p.move.index); break;
        case AutoPlay::Press::Start: m.startSpin(); break;
        case AutoPlay::Press::Stop: m.pressStop(game::Reel(p.move.index)); break;
        default: break;
        }
    }
    m.clock().advance(untilMs - m.clock().now());
    return log.lines;
}

} // namespace

class TestAutoPlay : public QObject {
    Q_OBJECT
private slots:
    // Each limit ends the play at the first spin or payment that reaches it.
    void stopsAtItsLimit_data()
    {
        QTest::addColumn<AutoPlayLimits>("limits");
        QTest::addColumn<Ending>("ending");
        QTest::addRow("7 spins") << With([](auto& l) { l.spins = 7; }) << Ending::Spins;
        QTest::addRow("a jackpot") << With([](auto& l) { l.jackpot = true; }) << Ending::Jackpot;
        QTest::addRow("the slot chance over") << With([](auto& l) { l.chanceEnd = true; }) << Ending::ChanceEnd;
        QTest::addRow("money below $60") << With([](auto& l) { l.moneyBelow = 60; }) << Ending::MoneyBelow;
        QTest::addRow("money $300 or more") << With([](auto& l) { l.moneyAtLeast = 300; }) << Ending::MoneyAtLeast;
        QTest::addRow("broke") << AutoPlayLimits{} << Ending::Broke;
    }
    void stopsAtItsLimit()
    {
        QFETCH(AutoPlayLimits, limits);
        QFETCH(Ending, ending);
        // Seed 3 reaches every limit before it runs out of money.
        AutoRig a(3, ending == Ending::Broke ? 300 : 30);
        std::vector<qint64> moneys;
        QObject::connect(&a.rig.machine, &game::Machine::moneyChanged, [&](qint64 m) { moneys.push_back(m); });
        a.autoPlay.start(limits);
        a.playOut();
        QCOMPARE(a.ending, std::optional(ending));
        const game::MachineState& s = a.rig.s();
        const auto& spins = a.spins;
        auto jackpots = std::count_if(spins.begin(), spins.end(), [](const auto& r) { return r.paid(); });
        switch (ending) {
        case Ending::Spins: QCOMPARE(int(spins.size()), 7); break;
        case Ending::Jackpot:
            QCOMPARE(jackpots, 1);
            QVERIFY(spins.back().paid());
            break;
        case Ending::ChanceEnd:
            QVERIFY(spins.back().slotChance && s.chanceLeft == 0);
            QCOMPARE(std::count_if(spins.begin(), spins.end(), [](const auto& r) { return r.slotChance; }), 5);
            break;
        case Ending::MoneyBelow:
        case Ending::MoneyAtLeast: {
            auto reached = [&](qint64 m) { return limits.moneyBelow ? m < 60 : m >= 300; };
            QVERIFY(reached(s.money));
            QCOMPARE(std::count_if(moneys.begin(), moneys.end(), reached), 1); // the first time ended it
            break;
        }
        case Ending::Broke:
            QCOMPARE(s.money, qint64(0));
            QVERIFY(s.actions.coversLive && !s.actions.startLive);
            break;
        case Ending::Player: break;
        }
        // The hand rests: nothing more is played.
        const auto played = spins.size();
        const qint64 money = s.money;
        a.rig.machine.clock().advance(60000);
        QCOMPARE(a.spins.size(), played);
        QCOMPARE(s.money, money);
    }

    // A key or a click in the window, or a prompt opening, hands the machine
    // back; the key or click plays nothing.
    void playerTakesOver_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"key", "click", "prompt"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void playerTakesOver()
    {
        QFETCH(QString, how);
        SessionRig rig;
        rig.play();
        seams::install(static_cast<seams::RandomSource*>(nullptr)); // the game's own random numbers
        ui::MainWindow& window = rig.window();
        ui::DialogPrompter prompter; // the game's questions as the window asks them
        prompter.setOwner(&window);
        if (how == QLatin1String("prompt")) {
            game::installPrompter(&prompter);
            rig.machine().editState().money = 2000000; // the next hit offers a target
        }
        rig.dialogs.dialogHandlers.push_back([](QDialog& dialog) { dialog.accept(); });
        window.autoPlayItem->trigger();
        QVERIFY(window.autoPlay().running());
        std::optional<Ending> ending;
        QObject::connect(&window.autoPlay(), &AutoPlay::ended, [&](Ending why) { ending = why; });
        QVERIFY(window.autoPlayItem->isChecked() && window.autoPlayLamp->isVisibleTo(&window));
        QCOMPARE(window.autoPlayLamp->text(), QStringLiteral("オート 50"));
        const game::MachineState before = rig.s();
        if (how == QLatin1String("key"))
            QTest::keyClick(&window, Qt::Key_A);
        else if (how == QLatin1String("click"))
            QTest::mouseClick(window.covers[1], Qt::LeftButton);
        else
            while (window.autoPlay().running() && rig.machine().clock().now() < 600000)
                rig.machine().clock().advance(100);
        QVERIFY(!window.autoPlay().running());
        QVERIFY(!window.autoPlayItem->isChecked() && !window.autoPlayLamp->isVisibleTo(&window));
        QCOMPARE(ending, std::optional(Ending::Player));
        if (how == QLatin1String("prompt"))
            QVERIFY(rig.dialogs.shown.last().contains(QLatin1String("TargetDialog")));
        else
            QCOMPARE(rig.s().covers, before.covers);
    }

    // The hand draws nothing: its presses made by hand at the same moments
    // play the very same spins from the same random numbers.
    void drawsAsByHand()
    {
        const quint64 seed = 3;
        std::vector<Press> presses;
        QStringList played;
        qint64 endMs = 0;
        {
            AutoRig a(seed);
            SignalLog log(a.rig.machine);
            QObject::connect(&a.autoPlay, &AutoPlay::pressed, [&](AutoPlay::Move move) {
                presses.push_back({a.rig.machine.clock().now(), move});
            });
            a.autoPlay.start(With([](auto& l) { l.spins = 25; }));
            a.playOut();
            QCOMPARE(a.ending, std::optional(Ending::Spins));
            QVERIFY(std::any_of(a.spins.begin(), a.spins.end(), [](const auto& r) { return r.slotChance; }));
            endMs = a.rig.machine.clock().now();
            played = log.lines;
        }
        QCOMPARE(PlayedByHand(seed, presses, endMs), played);
    }

    // 1,000 spins at four times the pace, borrowing when broke: the money
    // the machine ends with is the money the history accounts for.
    void thousandSpinsKeepTheMoney()
    {
        AutoRig a(20261208);
        a.rig.machine.clock().setPace(4);
        const qint64 startMoney = a.rig.s().money;
        while (a.tally.spins < 1000) {
            if (!a.autoPlay.running()) {
                if (a.rig.s().money == 0)
                    a.rig.machine.borrow100();
                a.autoPlay.start({});
            }
            a.rig.machine.clock().advance(1000);
        }
        const game::PlayTally& t = a.tally;
        QVERIFY(t.jackpots > 0 && t.chanceSpins > 0 && t.loans > 0);
        QCOMPARE(a.rig.s().money, startMoney + t.paidOut - t.paidIn + t.loans + t.goalResets);
        QCOMPARE(a.rig.rnd.draws(), 0); // every draw came from the seeded source
    }
};

QTEST_MAIN(TestAutoPlay)
#include "test_autoplay.moc"
