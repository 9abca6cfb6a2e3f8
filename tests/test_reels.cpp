// SPDX-License-Identifier: MIT
// The reel steps tick by tick: faces and positions, the stop rules of the
// three reels, spins that end without a win, and the reach actions of a
// jackpot spin (centre reach, instant line-up, all-rotation).
#include "tests/support/Rig.h"

#include <QtTest>

using namespace testing;

namespace {

// One whole spin after a cover hit, as the player sees and hears it.
struct Spin {
    std::vector<double> draws; // the spin start's draws, then the later ones
    int ticks = 0;             // reel ticks until nothing turns
    QString intervals;         // the reel timer's interval before each tick, run-length coded
    QString stops;             // the tick after which the left, centre and right columns last changed
    QString timeline;          // the sound, by tick
    QString faces;             // reelFaces() at the end
    qint64 win = 0;
};

std::vector<double> draws(int left, int centre, int right, int reach, int drawNumber, std::vector<double> later = {})
{
    std::vector<double> all = spinDraws(left, centre, right, reach, drawNumber);
    all.insert(all.end(), later.begin(), later.end());
    return all;
}

// "75*78 500*10": 78 ticks that each waited 75 ms, then 10 that waited 500 ms.
QString runLengths(const std::vector<Tick>& ticks)
{
    QStringList runs;
    int count = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        ++count;
        if (i + 1 == ticks.size() || ticks[i + 1].waitedMs != ticks[i].waitedMs) {
            runs << QStringLiteral("%1*%2").arg(ticks[i].waitedMs).arg(count);
            count = 0;
        }
    }
    return runs.join(QLatin1Char(' '));
}

QString lastChanges(const std::vector<Tick>& ticks, const QString& before)
{
    QStringList last;
    for (int reel = 0; reel < 3; ++reel) {
        int tick = 0;
        QString previous = before.mid(reel * 3, 3);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            if (ticks[i].faces.mid(reel * 3, 3) != previous)
                tick = int(i) + 1;
            previous = ticks[i].faces.mid(reel * 3, 3);
        }
        last << QString::number(tick);
    }
    return last.join(QLatin1Char(' '));
}

// The faces each reel's last reelChanged carried, as reelFaces() writes them.
QString lastSignalledFaces(const SignalLog& log)
{
    QString faces;
    for (const char* reel : {"reel L ", "reel C ", "reel R "}) {
        const QStringList lines = log.lines.filter(QLatin1String(reel));
        faces += lines.isEmpty() ? QStringLiteral("???") : lines.last().mid(7);
    }
    return faces;
}

} // namespace

Q_DECLARE_METATYPE(Spin)

class TestReels : public QObject {
    Q_OBJECT
private slots:
    // Start-up steps each reel once from 6, 7 and 8 and draws nothing.
    void startUpFaces()
    {
        MachineRig rig;
        const auto& s = rig.s();
        QCOMPARE(reelFaces(s), QStringLiteral("765876987"));
        QCOMPARE(QList<int>({s.reels[0].position, s.reels[1].position, s.reels[2].position}), QList<int>({7, 8, 9}));
        QCOMPARE(s.centreMark, 8);
        QVERIFY(!rig.machine.spinning() && !s.reelsRunning && !rig.machine.clock().ticking(game::TimerId::Reel));
        QCOMPARE(actionsText(s.actions), QStringLiteral("covers"));
        QCOMPARE(rig.rnd.draws(), 0);
    }

    void wholeSpin_data()
    {
        QTest::addColumn<Spin>("spin");
        auto add = [](const char* name, const Spin& spin) { QTest::newRow(name) << spin; };
        // No reach: left stops after 50, right after 75, centre after 95;
        // neither of the others rests on the left reel's symbol.
        add("plain miss", {draws(0, 0, 0, 0, 100), 95, "75*95", "50 95 75", "95:stop music", "765321432"});
        add("no reach: right and centre step past the left symbol",
            {draws(0, 4, 3, 2, 150), 100, "75*100", "50 100 79", "100:stop music", "765876876"});
        // A reach that misses: the right reel finds the left symbol, 500 ms
        // steps, the reach tune one step later; the centre stops off the line.
        add("reach misses", {draws(0, 0, 0, 1, 100, {pick(0, 30), pick(29, 30), pick(0, 10)}), 88, "75*78 500*10",
                             "50 88 78", "79:Reach 88:stop music", "765654765"});
        add("reach: a centre countdown ending on the line goes on",
            {draws(0, 0, 0, 1, 100, {pick(0, 30), pick(29, 30), pick(1, 10)}), 90, "75*78 500*12", "50 90 78",
             "79:Reach 90:stop music", "765876765"});
        add("reach: right lands on the left symbol at once",
            {draws(0, 8, 3, 1, 250, {pick(0, 30), pick(29, 30), pick(9, 10)}), 97, "75*78 500*19", "50 97 78",
             "79:Reach 97:stop music", "765543765"});
        add("reach: right one step past it searches nine more",
            {draws(0, 8, 4, 1, 250, {pick(0, 30), pick(29, 30), pick(9, 10)}), 107, "75*88 500*19", "50 107 88",
             "89:Reach 107:stop music", "765543765"});
        // Lottery 2..5 once the centre countdown is out: 2 stops on the line,
        // 3 pauses 1.5 s first, 4 pauses one short of it, 5 one past it.
        auto centre = [&](const char* name, int drawNumber, int extra, int pause, int pay) {
            QString intervals = QStringLiteral("75*78 500*%1").arg((pause ? pause : pay) - 78);
            if (pause)
                intervals += QStringLiteral(" 1500*1");
            if (pause && pay > pause + 1)
                intervals += QStringLiteral(" 500*%1").arg(pay - pause - 1);
            QString timeline = QStringLiteral("79:Reach ");
            if (pause)
                timeline += QStringLiteral("%1:stop music ").arg(pause);
            timeline += QStringLiteral("%1:Jackpot %1:ChanceIntro").arg(pay);
            add(name, {draws(0, 0, 0, 0, drawNumber, {pick(0, 20), pick(extra, 10)}), pay, intervals,
                       QStringLiteral("50 %1 78").arg(pay), timeline, "765765765", 600});
        };
        centre("2 normal stop", 2, 0, 0, 89);
        centre("2 countdown ends lined up: pays at once", 2, 1, 0, 89);
        centre("3 two-stage stop", 3, 0, 88, 89);
        centre("3 pauses even when lined up", 3, 1, 89, 99);
        centre("4 one-short: top row matches at once", 4, 0, 88, 89);
        centre("4 one-short after a search", 4, 1, 98, 99);
        centre("5 one-past stop", 5, 0, 90, 99);
        centre("5 one-past after a longer search", 5, 3, 100, 109);
        // Lottery 6: the pay line lines up at the left reel's stop and the
        // six other rows vanish.
        add("instant line-up", {draws(0, 0, 0, 0, 6, {pick(0, 20)}), 50, "75*50", "50 50 50",
                                "50:Jackpot 50:ChanceIntro", ".7..7..7.", 1700});
        // Lottery 1: from the left reel's stop all three turn together at
        // 500 ms; after the count two chances in three pay, else a 3 s pause
        // and more steps without music.
        add("all-rotation", {draws(0, 0, 0, 0, 1, {pick(0, 20), pick(0, 20), pick(0, 3)}), 59, "75*50 500*9",
                             "59 59 59", "50:AllRotation 59:stop music 59:Jackpot 59:ChanceIntro", "765765765", 600});
        add("all-rotation with the reach draw", {draws(0, 0, 0, 1, 1, {pick(0, 20), pick(0, 20), pick(2, 3)}), 59,
                                                 "75*50 500*9", "59 59 59",
                                                 "50:AllRotation 59:stop music 59:Jackpot 59:ChanceIntro",
                                                 "765765765", 600});
        add("all-rotation, one re-lottery",
            {draws(0, 0, 0, 2, 1, {pick(0, 20), pick(0, 20), pick(1, 3), pick(0, 15), pick(0, 3)}), 64,
             "75*50 500*9 3000*1 500*4", "64 64 64",
             "50:AllRotation 59:stop music 64:stop music 64:Jackpot 64:ChanceIntro", "210210210", 100});
        add("all-rotation, two re-lotteries",
            {draws(0, 0, 0, 0, 1,
                   {pick(0, 20), pick(0, 20), pick(1, 3), pick(0, 15), pick(1, 3), pick(0, 15), pick(0, 3)}),
             69, "75*50 500*9 3000*1 500*4 3000*1 500*4", "69 69 69",
             "50:AllRotation 59:stop music 64:stop music 69:stop music 69:Jackpot 69:ChanceIntro", "765765765", 600});
    }
    void wholeSpin()
    {
        QFETCH(Spin, spin);
        MachineRig rig;
        rig.hitAndStart(spin.draws);
        rig.clearLogs();
        SignalLog log(rig.machine);
        const QString before = reelFaces(rig.s());
        QStringList timeline;
        const auto ticks = runReels(rig.machine, 2000, [&](int n) {
            for (const QString& entry : std::as_const(rig.sound))
                timeline << QStringLiteral("%1:%2").arg(n).arg(entry);
            rig.sound.clear();
        });
        QCOMPARE(int(ticks.size()), spin.ticks);
        QCOMPARE(runLengths(ticks), spin.intervals);
        QCOMPARE(lastChanges(ticks, before), spin.stops);
        QCOMPARE(timeline.join(QLatin1Char(' ')), spin.timeline);
        QCOMPARE(reelFaces(rig.s()), spin.faces);
        QCOMPARE(lastSignalledFaces(log), spin.faces); // the view shows what the reels show
        QCOMPARE(log.repeats().join(QLatin1Char(',')), QString()); // each signal a change
        QCOMPARE(rig.s().lastWin, spin.win);
        QCOMPARE(rig.s().money, 90 + spin.win);
        QCOMPARE(rig.s().chanceCounter, spin.win ? 5 : 0);
        QCOMPARE(actionsText(rig.s().actions), QStringLiteral("covers"));
        QCOMPARE(rig.s().bet, 0);
        QVERIFY(rig.rnd.remaining() == 0 && !rig.rnd.exhausted());
        QVERIFY(rig.prompts.notices.empty());
        // Later ticks of any timer find nothing turning and change nothing.
        rig.machine.clock().fire(game::TimerId::Reel);
        rig.machine.clock().advance(10000);
        QCOMPARE(reelFaces(rig.s()), spin.faces);
        QVERIFY(rig.sound.isEmpty() && rig.rnd.remaining() == 0 && !rig.rnd.exhausted());
    }

    // The next spin shows hidden rows again and continues from where the
    // reels stopped.
    void nextSpinContinues()
    {
        MachineRig rig;
        rig.hitAndStart(draws(0, 0, 0, 0, 6, {pick(0, 20)}));
        runReels(rig.machine);
        QCOMPARE(reelFaces(rig.s()), QStringLiteral(".7..7..7."));
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
        QVERIFY(!reelFaces(rig.s()).contains(QLatin1Char('.')));
        rig.machine.clock().fire(game::TimerId::Reel);
        QCOMPARE(reelFaces(rig.s()), QStringLiteral("876876876"));
    }
};

QTEST_GUILESS_MAIN(TestReels)
#include "test_reels.moc"
