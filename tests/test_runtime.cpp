// SPDX-License-Identifier: MIT
// The meanings the game's routines rely on: numeric value of a text, decimal
// text, colours, twips and the timer's restart on a new interval.
#include "game/Clock.h"
#include "platform/Runtime.h"

#include <QtTest>

class TestRuntime : public QObject {
    Q_OBJECT
private slots:
    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "100" << 100.0;
        QTest::newRow("leading blanks") << "   42" << 42.0;
        QTest::newRow("trailing text") << "12abc" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("negative") << "-20" << -20.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("blank inside stops") << "1 000" << 1.0;
        QTest::newRow("full-width digits are not digits") << "１００" << 0.0;
        QTest::newRow("huge") << "1e400" << 0.0;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(rt::Val(text), value);
    }

    void decimalText()
    {
        QCOMPARE(rt::DecimalText(0), QStringLiteral("0"));
        QCOMPARE(rt::DecimalText(100), QStringLiteral("100"));
        QCOMPARE(rt::DecimalText(-20), QStringLiteral("-20"));
        QCOMPARE(rt::DecimalText(10000000), QStringLiteral("10000000"));
        QCOMPARE(rt::DecimalText(123456789012.0), QStringLiteral("123456789012"));
        QCOMPARE(rt::SignedText(62), QStringLiteral(" 62"));
        QCOMPARE(rt::SignedText(-3), QStringLiteral("-3"));
    }

    void intIsFloor()
    {
        QCOMPARE(rt::Int(2.9), 2.0);
        QCOMPARE(rt::Int(-0.5), -1.0);
        QCOMPARE(rt::Int(0.999999 * 4), 3.0);
    }

    void colours()
    {
        // &HBBGGRR: red in the low byte.
        QCOMPARE(rt::RGB(255, 128, 0), 0x0080FFL);
        QCOMPARE(rt::ColorFromHexText(QStringLiteral("&H0080C0FF")), rt::RGB(255, 192, 128));
        QCOMPARE(rt::ColorFromHexText(QStringLiteral("&H000040C0")), rt::RGB(192, 64, 0));
    }

    void twips()
    {
        QCOMPARE(rt::Px(7410), 494);
        QCOMPARE(rt::Px(4275), 285);
        QCOMPARE(rt::TwipsRect(600, 720, 540, 540), QRect(40, 48, 36, 36));
    }

    // A timer of the machine's clock: a new interval restarts its period, a
    // stopped timer stays stopped, and an interval of 0 stops it.
    void timerNewIntervalRestartsThePeriod()
    {
        using game::TimerId;
        game::Clock clock(game::Clock::Drive::ByHand);
        int ticks = 0;
        QObject::connect(&clock, &game::Clock::ticked, [&] { ++ticks; });
        clock.setInterval(TimerId::Reel, 75);
        clock.setRunning(TimerId::Reel, true);
        clock.advance(50);
        clock.setInterval(TimerId::Reel, 500);
        QCOMPARE(clock.interval(TimerId::Reel), 500);
        QCOMPARE(clock.untilNext(TimerId::Reel), qint64(500)); // a fresh 500 ms period
        clock.setRunning(TimerId::Reel, false);
        clock.setInterval(TimerId::Reel, 1500);
        QVERIFY(!clock.ticking(TimerId::Reel)); // a stopped timer stays stopped
        clock.setRunning(TimerId::Reel, true);
        QCOMPARE(clock.untilNext(TimerId::Reel), qint64(1500));
        clock.setInterval(TimerId::Reel, 0);
        QVERIFY(!clock.ticking(TimerId::Reel)); // interval 0 stops it, as in the classic control
        QVERIFY(!clock.fire(TimerId::Reel));
        QCOMPARE(ticks, 0);
    }
};

QTEST_MAIN(TestRuntime)
#include "test_runtime.moc"
