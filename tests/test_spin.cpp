// The Start button: what one press decides (run lengths, reach, lottery,
// notices, slot chance), the sound-device fallback, lottery denominators
// beyond any whole number, and the odds of a long seeded run.
#include "tests/support/Rig.h"

#include <QtTest>

#include <cmath>

using namespace testing;
using game::SoundSwitch;

Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(game::SoundSwitch)

namespace {

const QString DeviceError = QStringLiteral("音源デバイスエラーです。<音はいらない> に自動設定します。");

bool drewExactly(const ScriptedRandom& rnd) { return rnd.remaining() == 0 && !rnd.exhausted(); }

} // namespace

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
        QVERIFY(!s.startShown);
        QCOMPARE(s.covers[0], game::CoverFace::Down); // the hit card turned back
        QVERIFY(!s.coversEnabled && !s.menusEnabled);
        QCOMPARE(s.pointer, game::Pointer::ArrowHourglass);
        QVERIFY(s.spinL && s.spinC && s.spinR);
        QCOMPARE(s.stopCountL, 50 + run);
        QCOMPARE(s.stopCountC, 95 + run);
        QCOMPARE(s.stopCountR, 75 + run);
        QCOMPARE(s.reachFlag, 0);
        QCOMPARE(s.drawNumber, drawNumber);
        QVERIFY(!s.reachShown && !s.noticeBlink && !s.noticeOn);
        QCOMPARE(s.chanceLeft, 0);
        QCOMPARE(s.stopShown, (std::array<bool, 3>{false, false, false}));
        QVERIFY(!reelFaces(s).contains(QLatin1Char('.')));
        QCOMPARE(rig.sound, QStringList{"Roll"});
        QCOMPARE(rig.timers, QStringList({"reel 75", "reel on"}));
        QVERIFY(drewExactly(rig.rnd)); // no notice is drawn without a reach
        QVERIFY(rig.prompts.messages.empty());
    }

    // A press while a reel is still marked as turning only clears the marks.
    void pressWhileAReelTurnsOnlyClearsTheFlags()
    {
        MachineRig rig;
        rig.rnd.push(pick(0, 4));
        rig.machine.pickCover(0);
        rig.edit().spinR = true;
        rig.machine.startSpin();
        QVERIFY(!rig.machine.spinning());
        QVERIFY(rig.s().startShown && rig.s().coversEnabled && !rig.s().reelTimerEnabled);
        QCOMPARE(rig.rnd.draws(), 1); // only the cover's
        QVERIFY(rig.sound.isEmpty());
    }

    // A jackpot spin (lottery 1..6) draws one notice of 20 and arms five
    // slot-chance spins; a lottery of 1 keeps the reach draw.
    void jackpotNotice_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("noticeMs"); // 0: no notice lamps
        QTest::addColumn<bool>("chime");
        QTest::newRow("x=0 none") << 0 << 0 << false;
        QTest::newRow("x=1 premium") << 1 << 100 << false;
        QTest::newRow("x=2 none") << 2 << 0 << false;
        QTest::newRow("x=10 none") << 10 << 0 << false;
        QTest::newRow("x=11 chime") << 11 << 0 << true;
        QTest::newRow("x=15 chime") << 15 << 0 << true;
        QTest::newRow("x=16 lamps and chime") << 16 << 500 << true;
        QTest::newRow("x=19 lamps and chime") << 19 << 500 << true;
    }
    void jackpotNotice()
    {
        QFETCH(int, x);
        QFETCH(int, noticeMs);
        QFETCH(bool, chime);
        for (int drawNumber = 1; drawNumber <= 6; ++drawNumber) {
            MachineRig rig;
            rig.hitAndStart(spinDraws(0, 0, 0, 2, drawNumber), {pick(x, 20)});
            const auto& s = rig.s();
            QCOMPARE(s.drawNumber, drawNumber);
            QCOMPARE(s.reachFlag, drawNumber == 1 ? 2 : 1);
            QCOMPARE(s.chanceLeft, 5);
            QCOMPARE(s.noticeTimerMs, noticeMs ? noticeMs : 1000);
            QCOMPARE(s.noticeBlink, noticeMs != 0);
            QCOMPARE(s.noticeOn, noticeMs != 0);
            QCOMPARE(rig.sound.contains("Notice"), chime);
            QVERIFY(drewExactly(rig.rnd));
        }
    }

    // A reach that will not pay draws two notices of 30: chime, then lamps.
    void falseNoticeOfAReach_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("z");
        QTest::addColumn<bool>("chime");
        QTest::addColumn<bool>("lamps");
        QTest::newRow("neither") << 19 << 11 << false << false;
        QTest::newRow("chime") << 20 << 29 << true << false;
        QTest::newRow("lamps") << 0 << 10 << false << true;
        QTest::newRow("both") << 29 << 0 << true << true;
    }
    void falseNoticeOfAReach()
    {
        QFETCH(int, y);
        QFETCH(int, z);
        QFETCH(bool, chime);
        QFETCH(bool, lamps);
        MachineRig rig;
        rig.hitAndStart(spinDraws(0, 0, 0, 1, 7), {pick(y, 30), pick(z, 30)});
        QCOMPARE(rig.s().reachFlag, 1);
        QCOMPARE(rig.s().chanceLeft, 0);
        QCOMPARE(rig.sound.contains("Notice"), chime);
        QCOMPARE(rig.s().noticeBlink, lamps);
        QCOMPARE(rig.s().noticeTimerMs, lamps ? 500 : 1000);
        QVERIFY(drewExactly(rig.rnd));
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
            QCOMPARE(s.stopCountL, 50000);
            QCOMPARE(s.stopCountC, 50002);
            QCOMPARE(s.stopCountR, 50001);
            QCOMPARE(s.stopShown, (std::array<bool, 3>{true, true, true}));
            QVERIFY(s.reelTimerEnabled);
            QVERIFY(rig.sound.isEmpty());
            QVERIFY(drewExactly(rig.rnd));
        }
    }

    // Sound off or never chosen: the same draws, no cue.
    void silentSpinDrawsTheSame_data()
    {
        QTest::addColumn<SoundSwitch>("sound");
        QTest::newRow("no sound") << SoundSwitch::Off;
        QTest::newRow("first start") << SoundSwitch::Unset;
    }
    void silentSpinDrawsTheSame()
    {
        QFETCH(SoundSwitch, sound);
        MachineRig rig(sound);
        rig.hitAndStart(spinDraws(1, 2, 3, 0, 4), {pick(17, 20)});
        QVERIFY(rig.sound.isEmpty());
        QCOMPARE(rig.s().chanceLeft, 5);
        QVERIFY(rig.s().noticeBlink);
        QVERIFY(drewExactly(rig.rnd));
        QVERIFY(rig.prompts.messages.empty());
    }

    // A cue failing at the spin start: the whole spin is decided first, sound
    // is switched off, and only then the player is told. Reel ticks while the
    // message is open play out the whole spin, silently; a jackpot still arms
    // its slot chance.
    void failingSoundAtTheSpinStart_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<std::vector<double>>("draws");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<int>("chance");
        QTest::addColumn<bool>("lamps");
        QTest::addColumn<qint64>("win");
        auto draws = [](int reach, int drawNumber, std::initializer_list<double> later) {
            std::vector<double> v = spinDraws(0, 0, 0, reach, drawNumber);
            v.insert(v.end(), later);
            return v;
        };
        QTest::newRow("music, jackpot spin")
            << "Roll" << draws(0, 5, {pick(17, 20), pick(0, 10)}) << QStringList{"Roll"} << 5 << true << qint64(600);
        QTest::newRow("chime, jackpot spin") << "Notice" << draws(0, 2, {pick(12, 20), pick(0, 10)})
                                             << QStringList({"Roll", "Notice"}) << 5 << false << qint64(600);
        QTest::newRow("chime, reach that misses") << "Notice" << draws(1, 200, {pick(25, 30), pick(3, 30), pick(0, 10)})
                                                  << QStringList({"Roll", "Notice"}) << 0 << true << qint64(0);
    }
    void failingSoundAtTheSpinStart()
    {
        QFETCH(QString, failing);
        QFETCH(std::vector<double>, draws);
        QFETCH(QStringList, heard);
        QFETCH(int, chance);
        QFETCH(bool, lamps);
        QFETCH(qint64, win);
        MachineRig rig;
        rig.failCue = [&](game::Cue c) { return CueName(c) == failing; };
        struct {
            bool soundOff = false, spinning = false, lamps = false;
            int chanceLeft = -1;
            std::size_t drawsLeft = 99;
        } atMessage;
        rig.prompts.onMessage = [&](const Message&) {
            const auto& s = rig.s();
            atMessage = {s.sound == SoundSwitch::Off, rig.machine.spinning(), s.noticeBlink, s.chanceLeft,
                         rig.rnd.remaining()};
            runReels(rig.machine);
        };
        rig.hitAndStart(draws);

        QCOMPARE(rig.prompts.texts(), QStringList{DeviceError});
        QCOMPARE(rig.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        QVERIFY(atMessage.soundOff && atMessage.spinning);
        QCOMPARE(atMessage.chanceLeft, chance);
        QCOMPARE(atMessage.lamps, lamps);
        QCOMPARE(atMessage.drawsLeft, std::size_t(1)); // only the reach's centre run, drawn later
        // The spin played out in full while the message was open.
        QVERIFY(!rig.machine.spinning());
        QVERIFY(rig.s().coversEnabled);
        QCOMPARE(rig.s().lastWin, win);
        QCOMPARE(rig.s().chanceCounter, chance);
        QCOMPARE(rig.sound, heard); // no reach, jackpot or slot-chance tune
        QVERIFY(!rig.s().frameBlink);
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
        QTest::newRow("1e30, largest") << 1e30 << 0.999999 << qint64(0);
        QTest::newRow("1e30, jackpot 6") << 1e30 << 5.5e-30 << qint64(6);
        QTest::newRow("1e30, seventh value") << 1e30 << 6.5e-30 << qint64(7);
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
        std::array<std::array<int, 9>, 3> runs{};
        for (int i = 0; i < spins; ++i) {
            auto& s = rig.edit();
            s.spinL = s.spinC = s.spinR = false;
            s.chanceLeft = 0;
            s.noticeBlink = s.noticeOn = false;
            s.noticeTimerMs = 1000;
            rig.clearLogs();
            rig.machine.startSpin();
            ++runs[0][s.stopCountL - 50];
            ++runs[1][s.stopCountC - 95];
            ++runs[2][s.stopCountR - 75];
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
            return std::abs(count - n * p) <= 3.29 * std::sqrt(n * p * (1 - p));
        };
        QVERIFY2(within(jackpot, spins, 6.0 / 300), qPrintable(QString::number(jackpot)));
        QVERIFY2(within(allRotation, spins, 1.0 / 300), qPrintable(QString::number(allRotation)));
        QVERIFY2(within(reach, spins, 294.0 / 300 / 3), qPrintable(QString::number(reach)));
        QVERIFY(within(premium, jackpot, 1.0 / 20));
        QVERIFY(within(jpLampsChime, jackpot, 4.0 / 20));
        QVERIFY(within(jpChimeOnly, jackpot, 5.0 / 20));
        QVERIFY(within(reachChime, reach, 10.0 / 30));
        QVERIFY(within(reachLamps, reach, 11.0 / 30));
        for (const auto& reel : runs)
            for (int count : reel)
                QVERIFY(within(count, spins, 1.0 / 9));
    }
};

QTEST_GUILESS_MAIN(TestSpin)
#include "test_spin.moc"
