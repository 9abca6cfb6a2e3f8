// SPDX-License-Identifier: MIT
// The meanings the game's routines rely on: numeric value of a text, decimal
// text, colours, twips and the timer's restart on a new interval.
#include "ui/Controls.h"
#include "platform/Runtime.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
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
        QCOMPARE(ui::ToQColor(0x0080FF), QColor(255, 128, 0));
        QCOMPARE(rt::ColorFromHexText(QStringLiteral("&H0080C0FF")), rt::RGB(255, 192, 128));
        QCOMPARE(rt::ColorFromHexText(QStringLiteral("&H000040C0")), rt::RGB(192, 64, 0));
    }

    void twips()
    {
        QCOMPARE(rt::Px(7410), 494);
        QCOMPARE(rt::Px(4275), 285);
        QCOMPARE(rt::TwipsRect(600, 720, 540, 540), QRect(40, 48, 36, 36));
    }

    void timerNewIntervalRestartsThePeriod()
    {
        QWidget owner;
        ui::Timer timer;
        int ticks = 0;
        timer.create(&owner, 75, true);
        timer.onTimer = [&] { ++ticks; };
        QVERIFY(timer.running());
        timer.setInterval(500);
        QCOMPARE(timer.interval(), 500);
        QVERIFY(timer.running());
        // The underlying timer now counts a fresh 500 ms period.
        auto* qt = owner.findChild<QTimer*>();
        QVERIFY(qt);
        QCOMPARE(qt->interval(), 500);
        QVERIFY(qt->remainingTime() > 400);
        timer.setEnabled(false);
        QVERIFY(!timer.running());
        timer.setInterval(1500);
        QVERIFY(!timer.running()); // a disabled timer stays stopped
        timer.setEnabled(true);
        QVERIFY(timer.running());
        QCOMPARE(qt->interval(), 1500);
        timer.setInterval(0);
        QVERIFY(!timer.running()); // interval 0 stops it, as in the classic control
        timer.fire();
        QCOMPARE(ticks, 1);
    }
};

QTEST_MAIN(TestRuntime)
#include "test_runtime.moc"
