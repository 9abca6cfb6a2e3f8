// The covers (BET), the target symbol bought after a hit, the two loans and
// the probability command.
#include "tests/support/Rig.h"

#include <QtTest>

using namespace testing;
using game::CoverFace;

namespace {

const QString Title = QStringLiteral("ゼルモア");

// The target dialog, noting the pointer and the money while it is open.
class WatchedPrompts : public ScriptedPrompts {
public:
    const game::Machine* machine = nullptr;
    game::Pointer pointer = game::Pointer::Default;
    qint64 money = 0;
    int chooseTarget() override
    {
        pointer = machine->state().pointer;
        money = machine->state().money;
        return ScriptedPrompts::chooseTarget();
    }
};

void checkOneMessage(const MachineRig& rig, const QString& text)
{
    QCOMPARE(rig.prompts.texts(), QStringList{text});
    QCOMPARE(rig.prompts.messages[0].style, int(seams::vbInformation));
    QCOMPARE(rig.prompts.messages[0].title, Title);
}

} // namespace

class TestPlayFeatures : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ covers
    // Each cover hides the hit card behind its own draw value.
    void coverDraw_data()
    {
        QTest::addColumn<int>("cover");
        QTest::addColumn<int>("draw");
        for (int c = 0; c < 4; ++c)
            for (int d = 0; d < 4; ++d)
                QTest::addRow("cover %c, draw %d", 'A' + c, d) << c << d;
    }
    void coverDraw()
    {
        QFETCH(int, cover);
        QFETCH(int, draw);
        MachineRig rig;
        rig.rnd.push(pick(draw, 4));
        rig.machine.pickCover(cover);
        const bool hit = cover == draw;
        const auto& s = rig.s();
        for (int c = 0; c < 4; ++c)
            QCOMPARE(s.covers[c], c != cover ? CoverFace::Down : hit ? CoverFace::Hit : CoverFace::Miss);
        QCOMPARE(s.money, 90);
        QCOMPARE(s.bet, hit ? 1 : 0);
        QCOMPARE(s.startShown, hit);
        QVERIFY(!rig.rnd.exhausted());
    }

    // A miss turns the earlier hit card back; the BET and Start stay.
    void missTurnsTheOtherCoverBack()
    {
        MachineRig rig;
        rig.rnd.script({pick(0, 4), pick(0, 4)});
        rig.machine.pickCover(0);
        rig.machine.pickCover(1);
        const auto& s = rig.s();
        QCOMPARE(s.covers, (std::array{CoverFace::Down, CoverFace::Miss, CoverFace::Down, CoverFace::Down}));
        QCOMPARE(s.bet, 1);
        QVERIFY(s.startShown);
        QCOMPARE(s.money, 80);
    }

    // The last $10 buys a try; with less, a click does nothing, silently.
    void lastTenDollars()
    {
        MachineRig rig;
        rig.edit().money = 10;
        rig.rnd.push(pick(0, 4));
        rig.machine.pickCover(0);
        QCOMPARE(rig.s().money, 0);
        QCOMPARE(rig.s().bet, 1);
        rig.machine.pickCover(0);
        QCOMPARE(rig.s().money, 0);
        QCOMPARE(rig.s().covers[0], CoverFace::Down);
        QCOMPARE(rig.rnd.draws(), 1);
        QVERIFY(rig.prompts.messages.empty());
    }

    // BET 10 is the limit: the click clears the win and the target picture,
    // charges nothing and keeps the bought target.
    void betTenIsTheLimit()
    {
        MachineRig rig;
        rig.edit().bet = 9;
        rig.rnd.push(pick(2, 4));
        rig.machine.pickCover(2);
        QCOMPARE(rig.s().bet, 10);
        auto& s = rig.edit();
        s.lastWin = 500;
        s.targetRate = 100;
        s.targetSymbol = 5;
        s.targetPicture = 5;
        rig.machine.pickCover(2);
        checkOneMessage(rig, QStringLiteral("ＢＥＴは１０倍迄です。"));
        QCOMPARE(s.money, 90);
        QCOMPARE(s.bet, 10);
        QCOMPARE(s.lastWin, 0);
        QCOMPARE(s.covers[2], CoverFace::Down);
        QCOMPARE(s.targetPicture, 0);
        QCOMPARE(s.targetRate, 100);
        QCOMPARE(s.targetSymbol, 5);
        QCOMPARE(rig.rnd.draws(), 1);
    }

    void missCancelsTheBoughtTarget()
    {
        MachineRig rig;
        auto& s = rig.edit();
        s.targetRate = 100;
        s.targetSymbol = 7;
        s.targetPicture = 7;
        rig.rnd.push(pick(3, 4));
        rig.machine.pickCover(0);
        QCOMPARE(s.targetRate, 1);
        QCOMPARE(s.targetSymbol, 0);
        QCOMPARE(s.targetPicture, 0);
        QCOMPARE(s.covers[0], CoverFace::Miss);
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
        seams::install(&prompts);
        rig.edit().money = money;
        rig.edit().chanceLeft = chanceLeft;
        rig.rnd.push(pick(0, 4));
        rig.machine.pickCover(0);
        seams::install(&rig.prompts);

        const auto& s = rig.s();
        QCOMPARE(prompts.targetDialogs, offered ? 1 : 0);
        if (offered) {
            QCOMPARE(prompts.pointer, game::Pointer::Hourglass);
            QCOMPARE(prompts.money, money - 10);
        }
        QCOMPARE(s.pointer, game::Pointer::Default);
        QCOMPARE(s.money, money - 10 - (bought ? 100 : 0));
        QCOMPARE(s.targetSymbol, bought);
        QCOMPARE(s.targetRate, bought ? 100 : 1);
        QCOMPARE(s.targetPicture, bought);
        QCOMPARE(s.bet, 1);
        QVERIFY(s.startShown);
    }

    // ------------------------------------------------------------ loans
    void hundredDollarLoan_data()
    {
        QTest::addColumn<int>("draw");
        QTest::addColumn<QString>("refusal");
        const QStringList refusals{QStringLiteral("僕も貸す金ないよ."), QStringLiteral("貸せないよ."),
                                   QStringLiteral("そんな簡単に貸せないよ.")};
        for (int d = 0; d < 10; ++d)
            QTest::addRow("draw %d", d) << d << (d >= 1 && d <= 3 ? refusals[d - 1] : QString());
    }
    void hundredDollarLoan()
    {
        QFETCH(int, draw);
        QFETCH(QString, refusal);
        MachineRig rig;
        rig.edit().money = 0;
        rig.rnd.push(pick(draw, 10));
        rig.machine.borrow100();
        QCOMPARE(rig.s().money, refusal.isEmpty() ? 100 : 0);
        if (refusal.isEmpty())
            QVERIFY(rig.prompts.messages.empty());
        else
            checkOneMessage(rig, refusal);
        QCOMPARE(rig.rnd.remaining(), std::size_t(0));
    }

    void thousandDollarLoan_data()
    {
        QTest::addColumn<int>("draw");
        for (int d : {0, 1, 2, 25, 49})
            QTest::addRow("draw %d", d) << d;
    }
    void thousandDollarLoan()
    {
        QFETCH(int, draw);
        MachineRig rig;
        rig.edit().money = 0;
        rig.rnd.push(pick(draw, 50));
        rig.machine.borrow1000();
        QCOMPARE(rig.s().money, draw == 1 ? 1000 : 0);
        if (draw == 1)
            QVERIFY(rig.prompts.messages.empty());
        else
            checkOneMessage(rig, QStringLiteral("ちょっと！そんな大金ないよ。"));
    }

    void loansNeedEmptyPockets_data()
    {
        QTest::addColumn<qint64>("money");
        QTest::addColumn<bool>("thousand");
        for (qint64 money : {10, 1, -10}) {
            QTest::addRow("$100 loan with %lld", money) << money << false;
            QTest::addRow("$1000 loan with %lld", money) << money << true;
        }
    }
    void loansNeedEmptyPockets()
    {
        QFETCH(qint64, money);
        QFETCH(bool, thousand);
        MachineRig rig;
        rig.edit().money = money;
        thousand ? rig.machine.borrow1000() : rig.machine.borrow100();
        QCOMPARE(rig.s().money, money);
        checkOneMessage(rig, QStringLiteral("どうして？お金もってるじゃない！"));
        QCOMPARE(rig.rnd.draws(), 0);
    }

    // ------------------------------------------------------------ probability
    void probabilityChange_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("expected");
        // The denominator in force before each row is 450.
        QTest::newRow("6 is the smallest") << "6" << 6;
        QTest::newRow("5 means normal") << "5" << 300;
        QTest::newRow("0 means normal") << "0" << 300;
        QTest::newRow("negative means normal") << "-20" << 300;
        QTest::newRow("5001 is capped") << "5001" << 5000;
        QTest::newRow("30000 is capped") << "30000" << 5000;
        QTest::newRow("1000") << "1000" << 1000;
        QTest::newRow("5000") << "5000" << 5000;
        QTest::newRow("blanks around") << " 1000 " << 1000;
        QTest::newRow("exponent") << "1e3" << 1000;
        QTest::newRow("plus sign") << "+1000" << 1000;
        QTest::newRow("trailing point") << "1000." << 1000;
        QTest::newRow("group separator") << "1,000" << 450;
        QTest::newRow("hexadecimal") << "0x3E8" << 450;
        QTest::newRow("2.5 rounds to 2") << "2.5" << 300;
        QTest::newRow("6.5 rounds down to even") << "6.5" << 6;
        QTest::newRow("7.5 rounds up to even") << "7.5" << 8;
        QTest::newRow("999.4") << "999.4" << 999;
        QTest::newRow("not a number") << "abc" << 450;
        QTest::newRow("number then text") << "12abc" << 450;
        QTest::newRow("full-width digits") << "１０００" << 450;
        QTest::newRow("blanks only") << "   " << 450;
        QTest::newRow("infinity") << "inf" << 450;
        QTest::newRow("not a number value") << "nan" << 450;
        QTest::newRow("above 16 bits") << "40000" << 450;
        QTest::newRow("rounds past 16 bits") << "32767.5" << 450;
        QTest::newRow("largest 16-bit") << "32767" << 5000;
        QTest::newRow("smallest 16-bit") << "-32768" << 300;
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

        QCOMPARE(rig.prompts.inputs.size(), std::size_t(1));
        const auto& input = rig.prompts.inputs[0];
        QCOMPARE(input.title, QStringLiteral("確率変動"));
        QCOMPARE(input.defaultText, QStringLiteral("450"));
        QCOMPARE(input.prompt, QStringLiteral("確率の分母を入力してください。\r\n通常の確率分母は 300 です。\r\n"
                                              "大当り値が 6 個ある為 6 以下の数値は入力できません。"));
        checkOneMessage(rig, QStringLiteral("確率を%1分の6に変更しました。").arg(expected));
        QVERIFY(rig.s().unlocked);
        QCOMPARE(rig.machine.chosenDenominator(), std::optional<qint64>(expected));
        QCOMPARE(rig.s().denominator, double(expected));
    }

    // The box offers the denominator in force: 300 at first, then the last choice.
    void probabilityOffersTheDenominatorInForce()
    {
        MachineRig rig;
        QVERIFY(!rig.machine.chosenDenominator());
        rig.prompts.inputAnswers = {QString(), QStringLiteral("1000"), QString()};
        for (int i = 0; i < 3; ++i)
            rig.machine.changeProbability();
        QCOMPARE(rig.prompts.inputs[0].defaultText, QStringLiteral("300"));
        QCOMPARE(rig.prompts.inputs[2].defaultText, QStringLiteral("1000"));
        QCOMPARE(rig.prompts.texts()[0], QStringLiteral("確率を300分の6に変更しました。"));
        QCOMPARE(rig.s().denominator, 1000.0);
    }
};

QTEST_GUILESS_MAIN(TestPlayFeatures)
#include "test_play_features.moc"
