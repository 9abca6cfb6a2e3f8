// SPDX-License-Identifier: MIT
// The covers (BET), the target symbol bought after a hit, the two loans,
// the probability command and fast play, and what each of them signals.
#include "tests/support/Rig.h"

#include <QtTest>

using namespace testing;
using game::CoverFace;

namespace {

// The target question, noting the money and the Start button while it is open.
class WatchedPrompts : public ScriptedPrompts {
public:
    const game::Machine* machine = nullptr;
    qint64 money = 0;
    bool startLive = false;
    int askTarget() override
    {
        money = machine->state().money;
        startLive = machine->state().actions.startLive;
        return ScriptedPrompts::askTarget();
    }
};

struct Covers {
    qint64 money;
    int bet;
    int target;     // the target symbol bought before, 0 for none
    QString clicks; // "A0 B0": cover A with the draw 0, then cover B; "A": a click that draws nothing
    qint64 after;
    int betAfter;
    QString faces;  // the covers after: D face down, H the hit card, M the miss card
    bool start;     // the Start button shows
    QString notice = QString();
};

// A step done to the rig: a setting-up or an action of the player's.
using RigStep = std::function<void(MachineRig&)>;

// What a run of play signalled, and when each spin ended on the clock.
struct PacedPlay {
    QStringList lines, sound;
    qint64 money = 0;
    int draws = 0;
    QList<qint64> spinEnds;
};

// Ten spins with seeded draws on the machine's own clock at `pace`: covers
// hit up to BET 3, Start, and a slot-chance spin's reels stopped a second
// apart, every wait of the player's divided by the pace as the machine's are.
PacedPlay PlayAtPace(int pace, int denominator)
{
    MachineRig rig;
    SeededRandom seeded(4242 + denominator);
    for (int i = 0; i < 20000; ++i)
        rig.rnd.push(seeded.next());
    game::Clock& clock = rig.machine.clock();
    clock.setPace(pace);
    rig.edit().denominator = denominator;
    rig.edit().money = 2000;
    SignalLog log(rig.machine);
    PacedPlay play;
    bool ended = false;
    QObject::connect(&rig.machine, &game::Machine::spinEnded, [&] {
        ended = true;
        play.spinEnds << clock.now();
    });
    for (int spin = 0; spin < 10; ++spin) {
        for (int guard = 0; rig.s().bet < 3 && rig.s().money >= game::CoverPrice && ++guard < 50;)
            rig.machine.pickCover(spin % 4);
        ended = false;
        rig.machine.startSpin();
        if (rig.s().slotChanceSpin) {
            for (game::Reel reel : game::AllReels) {
                clock.advance(1000 / pace);
                rig.machine.pressStop(reel);
            }
        }
        for (int guard = 0; !ended && ++guard < 1000;)
            clock.advance(200 / pace);
        clock.advance(2000 / pace); // the lamps after the spin
    }
    play.lines = log.lines;
    play.sound = rig.sound;
    play.money = rig.s().money;
    play.draws = rig.rnd.draws();
    return play;
}

} // namespace

Q_DECLARE_METATYPE(Covers)
Q_DECLARE_METATYPE(RigStep)

class TestPlayFeatures : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ covers
    // $10 a try; each cover hides the hit card behind its own draw value. A
    // click turns the other covers back and clears the last win and the
    // target picture.
    void covers_data()
    {
        QTest::addColumn<Covers>("covers");
        for (int c = 0; c < 4; ++c) {
            for (int d = 0; d < 4; ++d) {
                QString faces = QStringLiteral("DDDD");
                faces[c] = QLatin1Char(c == d ? 'H' : 'M');
                const QString click = QStringLiteral("%1%2").arg(QChar('A' + c)).arg(d);
                QTest::addRow("cover %c, draw %d", 'A' + c, d)
                    << Covers{100, 0, 0, click, 90, int(c == d), faces, c == d};
            }
        }
        QTest::newRow("a miss turns the hit card back") << Covers{100, 0, 0, "A0 B0", 80, 1, "DMDD", true};
        QTest::newRow("a miss cancels the bought target") << Covers{100, 0, 7, "A3", 90, 0, "MDDD", false};
        QTest::newRow("the last $10, then nothing") << Covers{10, 0, 0, "A0 A", 0, 1, "DDDD", true};
        QTest::newRow("BET 10 is the limit; the target stays")
            << Covers{100, 10, 5, "C", 100, 10, "DDDD", false, QStringLiteral("BetLimit")};
    }
    void covers()
    {
        QFETCH(Covers, covers);
        MachineRig rig;
        auto& s = rig.edit();
        s.money = covers.money;
        s.bet = covers.bet;
        s.lastWin = 500;
        s.targetSymbol = s.targetShown = covers.target;
        s.targetRate = covers.target ? 100 : 1;
        int draws = 0;
        for (const QString& click : covers.clicks.split(QLatin1Char(' '))) {
            if (click.size() > 1) {
                rig.rnd.push(pick(click[1].digitValue(), 4));
                ++draws;
            }
            rig.machine.pickCover(click[0].unicode() - 'A');
        }
        QCOMPARE(s.money, covers.after);
        QCOMPARE(s.bet, covers.betAfter);
        QString faces;
        for (CoverFace face : s.covers)
            faces += QLatin1Char(face == CoverFace::Hit ? 'H' : face == CoverFace::Miss ? 'M' : 'D');
        QCOMPARE(faces, covers.faces);
        QCOMPARE(s.actions.startLive, covers.start);
        QCOMPARE(s.lastWin, 0);
        QCOMPARE(s.targetShown, 0);
        const int kept = covers.notice.isEmpty() ? 0 : covers.target; // a charged try forgets the target
        QCOMPARE(s.targetSymbol, kept);
        QCOMPARE(s.targetRate, kept ? 100 : 1);
        QCOMPARE(rig.rnd.draws(), draws);
        QCOMPARE(rig.prompts.shown, covers.notice.isEmpty() ? QStringList() : QStringList{covers.notice});
    }

    // ------------------------------------------------------------ target symbol
    // A hit leaving more than $1,000,000 offers a target symbol for $100,
    // unless a slot chance is pending.
    void targetOffer_data()
    {
        QTest::addColumn<qint64>("money");
        QTest::addColumn<int>("chanceLeft");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<int>("bought");
        QTest::newRow("exactly a million after the charge") << qint64(1000010) << 0 << 9 << false << 0;
        QTest::newRow("symbol 9 bought") << qint64(1000510) << 0 << 9 << true << 9;
        QTest::newRow("symbol 1 bought") << qint64(2000000) << 0 << 1 << true << 1;
        QTest::newRow("declined") << qint64(1000510) << 0 << 0 << true << 0;
        QTest::newRow("no such symbol") << qint64(1000510) << 0 << 10 << true << 0;
        QTest::newRow("slot chance pending") << qint64(2000000) << 3 << 9 << false << 0;
    }
    void targetOffer()
    {
        QFETCH(qint64, money);
        QFETCH(int, chanceLeft);
        QFETCH(int, answer);
        QFETCH(bool, offered);
        QFETCH(int, bought);
        MachineRig rig;
        WatchedPrompts prompts;
        prompts.machine = &rig.machine;
        prompts.targetAnswers.push_back(answer);
        game::installPrompter(&prompts);
        rig.edit().money = money;
        rig.edit().chanceLeft = chanceLeft;
        rig.rnd.push(pick(0, 4));
        rig.machine.pickCover(0);
        game::installPrompter(&rig.prompts);

        const auto& s = rig.s();
        QCOMPARE(prompts.targetQuestions, offered ? 1 : 0);
        if (offered) {
            QCOMPARE(prompts.money, money - 10);
            QVERIFY(!prompts.startLive); // Start comes once the question is answered
        }
        QCOMPARE(s.money, money - 10 - (bought ? 100 : 0));
        QCOMPARE(s.targetSymbol, bought);
        QCOMPARE(s.targetRate, bought ? 100 : 1);
        QCOMPARE(s.targetShown, bought);
        QCOMPARE(s.bet, 1);
        QVERIFY(s.actions.startLive);
    }

    // ------------------------------------------------------------ loans
    // Only at exactly $0: $100 refused three times in ten, each refusal with
    // its own excuse; $1000 granted once in fifty.
    void loan_data()
    {
        QTest::addColumn<bool>("thousand");
        QTest::addColumn<qint64>("money");
        QTest::addColumn<int>("draw"); // -1: nothing drawn
        QTest::addColumn<qint64>("after");
        QTest::addColumn<QString>("notice");
        for (int d = 0; d < 10; ++d) {
            const bool refused = d >= 1 && d <= 3; // each refusal with its excuse
            QTest::addRow("$100, draw %d", d) << false << qint64(0) << d << qint64(refused ? 0 : 100)
                                              << (refused ? QStringLiteral("LoanRefused %1").arg(d) : QString());
        }
        for (int d : {0, 1, 2, 49})
            QTest::addRow("$1000, draw %d", d) << true << qint64(0) << d << qint64(d == 1 ? 1000 : 0)
                                               << (d == 1 ? QString() : QStringLiteral("BigLoanRefused"));
        for (qint64 money : {10, 1, -10}) {
            QTest::addRow("$100 with %lld", money) << false << money << -1 << money << "LoanNotNeeded";
            QTest::addRow("$1000 with %lld", money) << true << money << -1 << money << "LoanNotNeeded";
        }
    }
    void loan()
    {
        QFETCH(bool, thousand);
        QFETCH(qint64, money);
        QFETCH(int, draw);
        QFETCH(qint64, after);
        QFETCH(QString, notice);
        MachineRig rig;
        rig.edit().money = money;
        if (draw >= 0)
            rig.rnd.push(pick(draw, thousand ? 50 : 10));
        thousand ? rig.machine.borrow1000() : rig.machine.borrow100();
        QCOMPARE(rig.s().money, after);
        QCOMPARE(rig.prompts.shown, notice.isEmpty() ? QStringList() : QStringList{notice});
        QCOMPARE(rig.rnd.draws(), draw >= 0 ? 1 : 0);
        QVERIFY(!rig.rnd.exhausted());
    }

    // ------------------------------------------------------------ probability
    void probabilityChange_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("expected");
        // The denominator in force before each row is 450.
        QTest::newRow("6 is the smallest") << "6" << 6;
        QTest::newRow("5 means normal") << "5" << 300;
        QTest::newRow("negative means normal") << "-20" << 300;
        QTest::newRow("5001 is capped") << "5001" << 5000;
        QTest::newRow("5000") << "5000" << 5000;
        QTest::newRow("blanks around") << " 1000 " << 1000;
        QTest::newRow("exponent") << "1e3" << 1000;
        QTest::newRow("plus sign") << "+1000" << 1000;
        QTest::newRow("trailing point") << "1000." << 1000;
        QTest::newRow("group separator") << "1,000" << 450;
        QTest::newRow("hexadecimal") << "0x3E8" << 450;
        QTest::newRow("6.5 rounds down to even") << "6.5" << 6;
        QTest::newRow("7.5 rounds up to even") << "7.5" << 8;
        QTest::newRow("999.4") << "999.4" << 999;
        QTest::newRow("not a number") << "abc" << 450;
        QTest::newRow("number then text") << "12abc" << 450;
        QTest::newRow("full-width digits") << "１０００" << 450;
        QTest::newRow("infinity") << "inf" << 450;
        QTest::newRow("rounds past 16 bits") << "32767.5" << 450;
        QTest::newRow("largest 16-bit") << "32767" << 5000;
        QTest::newRow("below 16 bits") << "-32769" << 450;
        QTest::newRow("huge") << "1e300" << 450;
        QTest::newRow("Cancel") << "" << 450;
    }
    void probabilityChange()
    {
        QFETCH(QString, answer);
        QFETCH(int, expected);
        MachineRig rig;
        rig.edit().denominator = 450;
        rig.prompts.inputAnswers.push_back(answer);
        rig.machine.changeProbability();

        // The question shows the denominator in force; the notice, the one chosen.
        QCOMPARE(rig.prompts.shown,
                 QStringList({"denominator 450", QStringLiteral("ProbabilityChanged %1").arg(expected)}));
        QVERIFY(rig.s().unlocked);
        QCOMPARE(rig.machine.chosenDenominator(), std::optional<qint64>(expected));
        QCOMPARE(rig.s().denominator, double(expected));
    }

    // ------------------------------------------------------------ fast play
    // Played at 2x or 4x, the same spins signal the same facts, cues and
    // events in the same order, draw as often and pay as much as at 1x;
    // only the time they take is divided by the pace.
    void fastPlay_data()
    {
        QTest::addColumn<int>("pace");
        QTest::addColumn<int>("denominator");
        QTest::newRow("2x, one in 6") << 2 << 6;
        QTest::newRow("4x, one in 6") << 4 << 6;
        QTest::newRow("4x, one in 300") << 4 << 300;
    }
    void fastPlay()
    {
        QFETCH(int, pace);
        QFETCH(int, denominator);
        const PacedPlay normal = PlayAtPace(1, denominator);
        const PacedPlay fast = PlayAtPace(pace, denominator);
        QCOMPARE(normal.spinEnds.size(), 10);
        QVERIFY(normal.lines.contains(QStringLiteral("frame Lit")));
        QCOMPARE(fast.lines, normal.lines);
        QCOMPARE(fast.sound, normal.sound);
        QCOMPARE(fast.money, normal.money);
        QCOMPARE(fast.draws, normal.draws);
        QList<qint64> divided;
        for (qint64 end : normal.spinEnds)
            divided << end / pace;
        QCOMPARE(fast.spinEnds, divided);
    }

    // ------------------------------------------------------------ signals
    // Each fact changed signals once, with its new value; what did not
    // change signals nothing. Events of play come once each.
    void signalsOnceAChange_data()
    {
        QTest::addColumn<RigStep>("setUp");
        QTest::addColumn<RigStep>("act");
        QTest::addColumn<QString>("expected");
        // A win shown, and the last round's hit card with its bought target.
        auto lastRound = [](int bet) {
            return RigStep([bet](MachineRig& rig) {
                auto& s = rig.edit();
                s.lastWin = 500;
                s.covers[1] = CoverFace::Hit;
                s.targetShown = s.targetSymbol = 5;
                s.bet = bet;
            });
        };
        auto cover = [](int draw) {
            return RigStep([draw](MachineRig& rig) {
                if (draw >= 0)
                    rig.rnd.push(pick(draw, 4));
                rig.machine.pickCover(0);
            });
        };
        const RigStep nothing = [](MachineRig&) {};
        QTest::newRow("cover hit") << nothing << cover(0)
                                   << "money 90 | cover 0 Hit | bet 1 | picked hit | actions covers start";
        QTest::newRow("cover miss after a win")
            << lastRound(1) << cover(3) << "win 0 | cover 1 Down | target 0 | money 90 | cover 0 Miss | picked miss";
        QTest::newRow("cover hit, target 6 bought")
            << RigStep([](MachineRig& rig) {
                   rig.edit().money = 1000510;
                   rig.prompts.targetAnswers.push_back(6);
               })
            << cover(0)
            << "money 1000500 | cover 0 Hit | bet 1 | picked hit | target 6 | money 1000400 | bought 6 | "
               "actions covers start";
        QTest::newRow("BET limit") << lastRound(10) << cover(-1) << "win 0 | cover 1 Down | target 0";
        QTest::newRow("loan") << RigStep([](MachineRig& rig) { rig.edit().money = 0; })
                              << RigStep([](MachineRig& rig) {
                                     rig.rnd.push(pick(0, 10));
                                     rig.machine.borrow100();
                                 })
                              << "money 100 | loan 100";
        const RigStep probability = [](MachineRig& rig) { rig.machine.changeProbability(); };
        QTest::newRow("probability: unlocks once") << nothing << probability << "unlocked on";
        QTest::newRow("probability when unlocked")
            << RigStep([](MachineRig& rig) { rig.edit().unlocked = true; }) << probability << "";
        QTest::newRow("sound off, then on") << nothing << RigStep([](MachineRig& rig) {
            rig.machine.toggleSound();
            rig.machine.toggleSound();
        }) << "sound Off | sound On";
        QTest::newRow("calm lamps on twice") << nothing << RigStep([](MachineRig& rig) {
            rig.machine.setCalmLamps(true);
            rig.machine.setCalmLamps(true);
        }) << "calm on";
    }
    void signalsOnceAChange()
    {
        QFETCH(RigStep, setUp);
        QFETCH(RigStep, act);
        QFETCH(QString, expected);
        MachineRig rig;
        setUp(rig);
        SignalLog log(rig.machine);
        act(rig);
        QCOMPARE(log.byFact(), SignalLog::byFact(expected));
        QVERIFY(rig.rnd.remaining() == 0 && !rig.rnd.exhausted());
    }
};

QTEST_GUILESS_MAIN(TestPlayFeatures)
#include "test_play_features.moc"
