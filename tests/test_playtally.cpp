// SPDX-License-Identifier: MIT
// The play history the machine reports and the data counter's figures:
// what each entry says about its spin, and a long seeded run whose counters
// must agree with the money and with the exact odds.
#include "game/Odds.h"
#include "game/Payout.h"
#include "game/PlayRecorder.h"
#include "game/PlayTally.h"
#include "tests/support/Rig.h"

#include <QtTest>

#include <cmath>
#include <random>

using namespace testing;
using game::PlayKind;
using game::PlayRecord;
using game::ReachAction;

namespace {

// Every entry the machine reports, in order.
struct Recorded {
    explicit Recorded(game::Machine& machine)
        : recorder(machine)
    {
        QObject::connect(&recorder, &game::PlayRecorder::played, [this](const PlayRecord& r) { entries.push_back(r); });
    }
    game::PlayRecorder recorder;
    std::vector<PlayRecord> entries;
    std::vector<PlayRecord> ofKind(PlayKind kind) const
    {
        std::vector<PlayRecord> found;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(found),
                     [kind](const PlayRecord& r) { return r.kind == kind; });
        return found;
    }
};

// True when |value - expected| is within z standard errors.
bool within(double value, double expected, double standardError, const char* what)
{
    const bool inside = std::abs(value - expected) <= 4.5 * standardError;
    if (!inside)
        qWarning("%s: %g, expected %g (standard error %g)", what, value, expected, standardError);
    return inside;
}

} // namespace

class TestPlayTally : public QObject {
    Q_OBJECT
private slots:
    // One spin per lottery number: the entry tells the reach action, the
    // jackpot, the symbol paid, the win and the money after the spin.
    void spinEntriesTellTheDraw_data()
    {
        QTest::addColumn<int>("drawNumber");
        QTest::addColumn<int>("reach");
        QTest::addColumn<int>("reachAction");
        QTest::newRow("plain miss") << 200 << 0 << int(ReachAction::None);
        QTest::newRow("reach that misses") << 200 << 1 << int(ReachAction::Missed);
        QTest::newRow("all rotation") << 1 << 0 << int(ReachAction::AllRotation);
        QTest::newRow("normal stop") << 2 << 0 << int(ReachAction::NormalStop);
        QTest::newRow("one past") << 5 << 0 << int(ReachAction::OnePast);
        QTest::newRow("instant line-up") << 6 << 0 << int(ReachAction::InstantLineUp);
    }
    void spinEntriesTellTheDraw()
    {
        QFETCH(int, drawNumber);
        QFETCH(int, reach);
        QFETCH(int, reachAction);
        MachineRig rig;
        SeededRandom later(drawNumber * 31 + reach);
        Recorded recorded(rig.machine);
        // The notice draws: none for a jackpot, the chime and lamps for a reach.
        const std::vector<double> draws = spinDraws(2, 3, 4, reach, drawNumber);
        if (drawNumber <= 6)
            rig.hitAndStart(draws, {pick(0, 20)});
        else if (reach)
            rig.hitAndStart(draws, {pick(25, 30), pick(5, 30)});
        else
            rig.hitAndStart(draws);
        seams::install(&later);
        runReels(rig.machine, 100000);
        seams::install(&rig.rnd);

        QCOMPARE(recorded.ofKind(PlayKind::CoverHit).size(), std::size_t(1));
        const auto spins = recorded.ofKind(PlayKind::Spin);
        QCOMPARE(spins.size(), std::size_t(1));
        const PlayRecord& spin = spins.front();
        QCOMPARE(int(spin.reach), reachAction);
        QCOMPARE(spin.jackpot, drawNumber <= 6);
        QCOMPARE(spin.paid(), drawNumber <= 6);
        QCOMPARE(spin.bet, 1);
        QCOMPARE(spin.denominator, 300.0);
        QCOMPARE(spin.amount, rig.s().lastWin);
        QCOMPARE(spin.moneyAfter, rig.s().money);
        QCOMPARE(spin.noticeSound, reach == 1);
        QCOMPARE(spin.noticeLamps, reach == 1 ? game::NoticeLamps::Normal : game::NoticeLamps::None);
        if (spin.paid())
            QCOMPARE(spin.amount, game::JackpotWin(spin.symbol, 1, 0, 1));
    }

    // A jackpot that reaches the goal: the spin's entry holds the money it
    // reached, then the goal's entry takes it back to $100.
    void theGoalFollowsItsSpin()
    {
        MachineRig rig;
        rig.edit().money = game::GoalMoney - 5;
        Recorded recorded(rig.machine);
        rig.hitAndStart(spinDraws(2, 3, 4, 0, 6), {pick(0, 20)});
        runReels(rig.machine, 100000);
        QCOMPARE(recorded.entries.size(), std::size_t(3));
        const PlayRecord& spin = recorded.entries[1];
        const PlayRecord& goal = recorded.entries[2];
        QCOMPARE(spin.kind, PlayKind::Spin);
        QVERIFY(spin.moneyAfter >= game::GoalMoney);
        QCOMPARE(goal.kind, PlayKind::Goal);
        QCOMPARE(goal.amount, 100 - spin.moneyAfter);
        QCOMPARE(goal.moneyAfter, qint64(100));
    }

    // 100,000 spins at BET 1 and 1 in 50, borrowing when broke and stopping
    // the slot chance at random moments: the counters account for every
    // dollar, and the rates agree with the exact tables.
    void longRunAgreesWithMoneyAndOdds()
    {
        MachineRig rig;
        SeededRandom draws(20261208);
        seams::install(&draws);
        std::mt19937 hand(7);
        game::PlayTally tally;
        double winSquares = 0;
        game::PlayRecorder recorder(rig.machine);
        QObject::connect(&recorder, &game::PlayRecorder::played, [&](const PlayRecord& r) {
            tally.add(r);
            if (r.kind == PlayKind::Spin)
                winSquares += double(r.amount) * double(r.amount);
        });
        const qint64 startMoney = rig.s().money;
        while (tally.spins < 100000) {
            while (rig.s().money < game::CoverPrice)
                rig.machine.borrow100();
            while (rig.s().bet == 0 && rig.s().money >= game::CoverPrice)
                rig.machine.pickCover(int(hand() % 4));
            if (rig.s().bet == 0)
                continue;
            rig.machine.startSpin();
            if (rig.s().slotChanceSpin) {
                for (game::Reel reel : {game::Reel::Left, game::Reel::Centre, game::Reel::Right}) {
                    for (int ticks = std::uniform_int_distribution<int>(0, 9)(hand); ticks > 0; --ticks)
                        rig.machine.clock().fire(game::TimerId::Reel);
                    rig.machine.pressStop(reel);
                }
            }
            runReels(rig.machine, 100000);
            QVERIFY(!rig.machine.spinning());
        }
        seams::install(&rig.rnd);

        // Every dollar: the money now is the money then, plus wins and loans,
        // less covers.
        QCOMPARE(rig.s().money, startMoney + tally.paidOut - tally.paidIn + tally.loans + tally.goalResets);
        QVERIFY(tally.loans > 0);

        // The closed forms equal the math tool's exact walk (test_math).
        const double jackpotChance = game::JackpotSpinChance(300);
        const qint64 normalSpins = tally.spins - tally.chanceSpins;
        QVERIFY(within(double(tally.jackpots), normalSpins * jackpotChance,
                       std::sqrt(normalSpins * jackpotChance * (1 - jackpotChance)), "jackpots"));
        QCOMPARE(tally.chanceSpins, tally.jackpots * game::ChanceSpins);
        const double lineUp = game::SlotChanceLineUpChance();
        QVERIFY(within(double(tally.chanceLineUps), tally.chanceSpins * lineUp,
                       std::sqrt(tally.chanceSpins * lineUp * (1 - lineUp)), "slot-chance line-ups"));
        QVERIFY(tally.longestRun >= tally.currentRun);

        // The return: paid out per dollar paid in, against the whole game at
        // BET 1; the counter's own expectation is the exact one.
        const double chanceSpins = game::ChanceSpins * jackpotChance;
        const double exactReturn = (jackpotChance + chanceSpins * lineUp) * game::MeanJackpotWin(1, 0, 1)
            / ((1 + chanceSpins) * game::CoverPrice / game::CoverHitChance());
        const double n = double(tally.spins);
        const double meanWin = tally.paidOut / n;
        const double winError = std::sqrt((winSquares / n - meanWin * meanWin) * n);
        QVERIFY(within(*tally.returnRate(), exactReturn, winError / tally.paidIn, "return"));
        QVERIFY(std::abs(*tally.expectedReturn() - exactReturn) < 0.01 * exactReturn);
        QVERIFY(within(tally.expectedJackpots, normalSpins * jackpotChance, 1e-6, "expected jackpots"));
    }

    // The data counter: today's and this session's figures, and the slump
    // line's balance after each spin.
    void counterSplitsSessionsAndDays()
    {
        const QDate today(2026, 12, 8);
        const auto at = [](QDate day) { return QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch(); };
        game::DataCounter counter(today);
        const auto add = [&](PlayKind kind, qint64 amount, QDate day, bool session, bool jackpot = false) {
            PlayRecord r;
            r.kind = kind;
            r.amount = amount;
            r.playedAtMs = at(day);
            r.bet = 1;
            r.denominator = 300;
            r.jackpot = jackpot;
            r.symbol = amount > 0 ? 1 : -1;
            counter.add(r, session);
        };
        add(PlayKind::CoverHit, -10, today.addDays(-1), false);
        add(PlayKind::Spin, 0, today.addDays(-1), false);
        add(PlayKind::CoverMiss, -10, today, false);
        add(PlayKind::CoverHit, -10, today, false);
        add(PlayKind::Spin, 100, today, false, true);
        add(PlayKind::CoverHit, -10, today, true);
        add(PlayKind::Spin, 0, today, true);
        add(PlayKind::Loan, 100, today, true);

        QCOMPARE(counter.allTime().spins, qint64(3));
        QCOMPARE(counter.today().spins, qint64(2));
        QCOMPARE(counter.session().spins, qint64(1));
        QCOMPARE(counter.allTime().longestRun, qint64(1));
        QCOMPARE(counter.today().jackpots, qint64(1));
        QCOMPARE(counter.today().currentRun, qint64(1));
        QCOMPARE(counter.today().paidIn, qint64(30));
        QCOMPARE(counter.today().paidOut, qint64(100));
        QCOMPARE(counter.session().loans, qint64(100));
        QCOMPARE(counter.days().size(), std::size_t(2));
        const game::SlumpLine& todayLine = *counter.days().at(today).line;
        QCOMPARE(todayLine.points, (QVector<game::SlumpPoint>{{1, 80}, {2, 70}}));
        QCOMPARE(todayLine.marks, (QVector<game::SlumpPoint>{{1, 80}}));
        QCOMPARE(counter.sessionLine().points, (QVector<game::SlumpPoint>{{1, -10}}));
    }
};

QTEST_GUILESS_MAIN(TestPlayTally)
#include "test_playtally.moc"
