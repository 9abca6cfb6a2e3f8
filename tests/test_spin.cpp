// SPDX-License-Identifier: MIT
// The Start button: what one press decides (run lengths, reach, lottery,
// notices, slot chance), the sound-device fallback, lottery denominators
// beyond any whole number, and the odds of a long seeded run.
#include "tests/support/Rig.h"

#include <QtTest>

#include <cmath>

using namespace testing;
using game::SoundSwitch;


namespace {

const QString DeviceError = QStringLiteral("音源デバイスエラーです。<音はいらない> に自動設定します。");

bool drewExactly(const ScriptedRandom& rnd) { return rnd.remaining() == 0 && !rnd.exhausted(); }

struct Notice {
    SoundSwitch sound;
    int reach;                 // the reach draw, 0..2
    int drawNumber;            // the lottery
    std::vector<double> draws; // the notice draws
    QString heard;
    int lampsMs;               // the notice lamps' interval; 0: they stay dark
};

QList<int> counts(const game::MachineState& s) { return {s.stopCountL, s.stopCountC, s.stopCountR}; }

std::vector<double> drawsOf(const Notice& notice)
{
    std::vector<double> draws = spinDraws(0, 0, 0, notice.reach, notice.drawNumber);
    draws.insert(draws.end(), notice.draws.begin(), notice.draws.end());
    return draws;
}

} // namespace

Q_DECLARE_METATYPE(Notice)

class TestSpin : public QObject {
    Q_OBJECT
private slots:
    void pressSetsUpTheSpin_data()
    {
        QTest::addColumn<int>("run");
        QTest::addColumn<int>("drawNumber");
        QTest::newRow("shortest runs") << 0 << 100;
        QTest::newRow("longest runs, last lottery value") << 8 << 300;
    }
    void pressSetsUpTheSpin()
    {
        QFETCH(int, run);
        QFETCH(int, drawNumber);
        MachineRig rig;
        rig.edit().rows[3].visible = false; // as an instant line-up left it
        rig.hitAndStart(spinDraws(run, run, run, 0, drawNumber));
        const auto& s = rig.s();
        QVERIFY(!s.startShown && !s.coversEnabled && !s.menusEnabled);
        QCOMPARE(s.covers[0], game::CoverFace::Down); // the hit card turned back
        QCOMPARE(s.pointer, game::Pointer::ArrowHourglass);
        QVERIFY(s.spinL && s.spinC && s.spinR);
        QCOMPARE(counts(s), QList<int>({50 + run, 95 + run, 75 + run}));
        QCOMPARE(s.reachFlag, 0);
        QCOMPARE(s.drawNumber, drawNumber);
        QVERIFY(!s.reachShown && !s.noticeBlink && !s.noticeOn && s.chanceLeft == 0);
        QCOMPARE(s.stopShown, (std::array<bool, 3>{false, false, false}));
        QVERIFY(!reelFaces(s).contains(QLatin1Char('.')));
        QCOMPARE(rig.sound, QStringList{"Roll"});
        QCOMPARE(rig.timers, QStringList({"reel 75", "reel on"}));
        QVERIFY(drewExactly(rig.rnd)); // no notice is drawn without a reach
        QVERIFY(rig.prompts.messages.empty());
    }

    // A jackpot spin (lottery 1..6) draws one notice of 20 and arms five
    // slot-chance spins; lottery 1 keeps the reach draw. A reach that will not
    // pay draws two notices of 30: the chime, then the lamps. Without sound
    // the draws are the same and nothing is heard.
    void notice_data()
    {
        QTest::addColumn<Notice>("notice");
        auto jackpot = [](int x, int drawNumber, const char* heard, int lampsMs) {
            QTest::addRow("x=%d, lottery %d", x, drawNumber)
                << Notice{SoundSwitch::On, 2, drawNumber, {pick(x, 20)}, heard, lampsMs};
        };
        jackpot(0, 1, "Roll", 0);
        jackpot(1, 2, "Roll", 100);
        jackpot(2, 3, "Roll", 0);
        jackpot(10, 4, "Roll", 0);
        jackpot(11, 5, "Roll Notice", 0);
        jackpot(15, 6, "Roll Notice", 0);
        jackpot(16, 1, "Roll Notice", 500);
        jackpot(19, 6, "Roll Notice", 500);
        auto reach = [](int y, int z, const char* heard, int lampsMs) {
            QTest::addRow("reach, y=%d z=%d", y, z)
                << Notice{SoundSwitch::On, 1, 7, {pick(y, 30), pick(z, 30)}, heard, lampsMs};
        };
        reach(19, 11, "Roll", 0);
        reach(20, 29, "Roll Notice", 0);
        reach(0, 10, "Roll", 500);
        reach(29, 0, "Roll Notice", 500);
        QTest::newRow("sound off") << Notice{SoundSwitch::Off, 0, 4, {pick(17, 20)}, "", 500};
        QTest::newRow("sound never chosen") << Notice{SoundSwitch::Unset, 1, 7, {pick(29, 30), pick(0, 30)}, "", 500};
    }
    void notice()
    {
        QFETCH(Notice, notice);
        MachineRig rig(notice.sound);
        rig.hitAndStart(drawsOf(notice));
        const auto& s = rig.s();
        const bool jackpot = notice.drawNumber <= 6;
        QCOMPARE(s.drawNumber, notice.drawNumber);
        QCOMPARE(s.reachFlag, notice.drawNumber == 1 ? notice.reach : 1);
        QCOMPARE(s.chanceLeft, jackpot ? 5 : 0);
        QCOMPARE(rig.sound.join(QLatin1Char(' ')), notice.heard);
        QCOMPARE(s.noticeTimerMs, notice.lampsMs ? notice.lampsMs : 1000);
        QCOMPARE(s.noticeBlink, notice.lampsMs != 0);
        QCOMPARE(s.noticeOn, notice.lampsMs != 0);
        QVERIFY(drewExactly(rig.rnd));
        QVERIFY(rig.prompts.messages.empty());
    }

    // A slot-chance spin draws as usual but has no lottery, no reach and no
    // music start; the player's stop buttons show.
    void slotChanceSpin()
    {
        for (int drawNumber = 1; drawNumber <= 6; ++drawNumber) {
            MachineRig rig;
            rig.edit().chanceLeft = 3;
            rig.hitAndStart(spinDraws(0, 0, 0, 1, drawNumber));
            const auto& s = rig.s();
            QCOMPARE(s.chanceLeft, 2);
            QCOMPARE(s.drawNumber, 0);
            QCOMPARE(s.reachFlag, 0);
            QCOMPARE(counts(s), QList<int>({50000, 50002, 50001}));
            QCOMPARE(s.stopShown, (std::array<bool, 3>{true, true, true}));
            QVERIFY(s.reelTimerEnabled);
            QVERIFY(rig.sound.isEmpty());
            QVERIFY(drewExactly(rig.rnd));
        }
    }

    // A cue failing at the spin start: the whole spin is decided first, sound
    // is switched off, and only then the player is told. Reel ticks while the
    // message is open play out the whole spin, silently; a jackpot still arms
    // its slot chance.
    void failingSoundAtTheSpinStart_data()
    {
        QTest::addColumn<Notice>("spin"); // the cue in `heard` that fails is the last one
        QTest::newRow("music, jackpot spin") << Notice{SoundSwitch::On, 0, 5, {pick(17, 20)}, "Roll", 500};
        QTest::newRow("chime, jackpot spin") << Notice{SoundSwitch::On, 0, 2, {pick(12, 20)}, "Roll Notice", 0};
        QTest::newRow("chime, reach that misses")
            << Notice{SoundSwitch::On, 1, 200, {pick(25, 30), pick(3, 30)}, "Roll Notice", 500};
    }
    void failingSoundAtTheSpinStart()
    {
        QFETCH(Notice, spin);
        const bool jackpot = spin.drawNumber <= 6;
        MachineRig rig;
        const auto& s = rig.s();
        rig.failCue = [&](game::Cue c) { return spin.heard.endsWith(CueName(c)); };
        rig.prompts.onMessage = [&](const Message& m) {
            QCOMPARE(m.text, DeviceError);
            QVERIFY(m.style == seams::vbInformation && m.title == QStringLiteral("ゼルモア"));
            // The spin was decided in full before the message: all but the
            // reach's centre run, which comes at the right reel's stop.
            QVERIFY(s.sound == SoundSwitch::Off && rig.machine.spinning());
            QCOMPARE(s.chanceLeft, jackpot ? 5 : 0);
            QCOMPARE(s.noticeBlink, spin.lampsMs != 0);
            QCOMPARE(rig.rnd.remaining(), std::size_t(1));
            runReels(rig.machine); // the spin plays out while the message is open
        };
        rig.hitAndStart(drawsOf(spin), {pick(0, 10)});
        QCOMPARE(rig.prompts.messages.size(), std::size_t(1));
        QVERIFY(!rig.machine.spinning() && s.coversEnabled && !s.frameBlink);
        QCOMPARE(s.lastWin, jackpot ? 600 : 0);
        QCOMPARE(s.chanceCounter, jackpot ? 5 : 0);
        QCOMPARE(rig.sound.join(QLatin1Char(' ')), spin.heard); // no reach, jackpot or slot-chance tune
        QVERIFY(drewExactly(rig.rnd));
    }

    // A denominator beyond any whole number draws a large miss; only the
    // lottery values 1..6 make a jackpot.
    void hugeDenominator_data()
    {
        QTest::addColumn<double>("denominator");
        QTest::addColumn<double>("lot");
        QTest::addColumn<qint64>("drawNumber"); // 0: some large miss
        QTest::newRow("1e30, middle") << 1e30 << 0.5 << qint64(0);
        QTest::newRow("1e30, jackpot 6") << 1e30 << 5.5e-30 << qint64(6);
        QTest::newRow("above int") << 4e9 << 0.5 << qint64(2000000001);
    }
    void hugeDenominator()
    {
        QFETCH(double, denominator);
        QFETCH(double, lot);
        QFETCH(qint64, drawNumber);
        MachineRig rig;
        rig.edit().denominator = denominator;
        const bool jackpot = drawNumber >= 1 && drawNumber <= 6;
        std::vector<double> draws = spinDraws(0, 0, 0, 0, 1);
        draws.back() = lot;
        rig.hitAndStart(draws, {pick(0, 20)});
        if (drawNumber)
            QCOMPARE(rig.s().drawNumber, drawNumber);
        else
            QVERIFY(rig.s().drawNumber > 1000000000);
        QCOMPARE(rig.s().chanceLeft, jackpot ? 5 : 0);
        runReels(rig.machine);
        QVERIFY(!rig.machine.spinning() && rig.s().coversEnabled);
        QCOMPARE(rig.s().chanceCounter, jackpot ? 5 : 0);
    }

    // A long seeded run: every frequency lies within 3.29 standard deviations
    // (99.9%) of its exact chance.
    void sampledOdds()
    {
        MachineRig rig;
        SeededRandom seeded(20261208);
        seams::install(&seeded);
        const int spins = 120000;
        int jackpot = 0, allRotation = 0, reach = 0, premium = 0, jpLampsChime = 0, jpChimeOnly = 0;
        int reachChime = 0, reachLamps = 0;
        for (int i = 0; i < spins; ++i) {
            auto& s = rig.edit();
            s.spinL = s.spinC = s.spinR = false;
            s.chanceLeft = 0;
            s.noticeBlink = s.noticeOn = false;
            s.noticeTimerMs = 1000;
            rig.clearLogs();
            rig.machine.startSpin();
            const bool chime = rig.sound.contains("Notice");
            const bool lamps = s.noticeBlink && s.noticeTimerMs == 500;
            if (s.chanceLeft == 5) {
                ++jackpot;
                allRotation += s.drawNumber == 1;
                premium += s.noticeBlink && s.noticeTimerMs == 100;
                jpLampsChime += lamps && chime;
                jpChimeOnly += !s.noticeBlink && chime;
            } else if (s.reachFlag == 1) {
                ++reach;
                reachChime += chime;
                reachLamps += lamps;
            } else {
                QVERIFY(!chime && !s.noticeBlink);
            }
        }
        seams::install(&rig.rnd);

        auto within = [](int count, int n, double p) {
            const bool inside = std::abs(count - n * p) <= 3.29 * std::sqrt(n * p * (1 - p));
            if (!inside)
                qWarning("%d of %d, expected %g", count, n, n * p);
            return inside;
        };
        QVERIFY(within(jackpot, spins, 6.0 / 300));
        QVERIFY(within(allRotation, spins, 1.0 / 300));
        QVERIFY(within(reach, spins, 294.0 / 300 / 3));
        QVERIFY(within(premium, jackpot, 1.0 / 20));
        QVERIFY(within(jpLampsChime, jackpot, 4.0 / 20));
        QVERIFY(within(jpChimeOnly, jackpot, 5.0 / 20));
        QVERIFY(within(reachChime, reach, 10.0 / 30));
        QVERIFY(within(reachLamps, reach, 11.0 / 30));
    }
};

QTEST_GUILESS_MAIN(TestSpin)
#include "test_spin.moc"
