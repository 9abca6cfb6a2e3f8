// Side features reached from the covers and the File menu: the target-symbol
// dialog, the two loans and the probability command.
#include "app/MdlZelmor.h"
#include "features/FrmSelect.h"
#include "platform/Runtime.h"
#include "tests/support/TestSupport.h"

#include <QPushButton>
#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

// Money before a hit on cover A that opens the target dialog with $1,000,500.
const QString MoneyBeforeHit = QStringLiteral("1000510");

// Starts the game and forgets the messages of start-up (such as the first-time greeting).
FrmMain& Start(Game& game)
{
    FrmMain& form = game.start();
    game.prompts.messages.clear();
    return form;
}

FrmSelect& AsSelect(QDialog& dialog)
{
    auto* select = qobject_cast<FrmSelect*>(&dialog);
    if (!select)
        qFatal("expected the target dialog, got %s", dialog.metaObject()->className());
    return *select;
}

} // namespace

class TestFeatures : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ target dialog
    void targetDialogLayout()
    {
        Game game;
        FrmMain& f = Start(game);
        TargetRate = 100;
        TargetSymbol = 4;
        FrmSelect dialog(f);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("狙い出目の選択　　　選択すると１００＄支払います。"));
        QCOMPARE(dialog.size(), QSize(538, 135));
        // Loading the dialog forgets any earlier choice.
        QCOMPARE(TargetRate, 1);
        QCOMPARE(TargetSymbol, 0);
        for (int k = 1; k <= 9; ++k) {
            ui::Image& image = dialog.SymbolImage(k);
            QCOMPARE(image.picture(), game.path(QStringLiteral("R0%1.BMP").arg(k)));
            QCOMPARE(image.toolTip(), QStringLiteral("この絵柄を選択します。"));
            QCOMPARE(image.widget()->geometry(), rt::TwipsRect(240 + 840 * (k - 1), 120, 870, 870));
        }
        QCOMPARE(&dialog.SymbolImage(1), &dialog.Image2);
        QCOMPARE(&dialog.SymbolImage(9), &dialog.Image10);
        QCOMPARE(dialog.Command1->text(), QStringLiteral("選択しない"));
        QCOMPARE(dialog.Command1->toolTip(), QStringLiteral("絵柄を選択しません。１００＄は不要"));
        QCOMPARE(dialog.Command1->geometry(), rt::TwipsRect(720, 1200, 6735, 375));
        QCOMPARE(dialog.Label1.caption(),
                 QStringLiteral("もし、大当たりして狙い目通りだと、得点のさらに１００倍になります."));
    }

    void choosingSymbolNineAfterAHit()
    {
        Game game;
        FrmMain& f = Start(game);
        f.Label1.setCaption(MoneyBeforeHit);
        bool closedByChoice = false;
        ui::MousePointer pointerDuringDialog = ui::MousePointer::Default;
        game.prompts.dialogHandlers.push_back([&](QDialog& dialog) {
            pointerDuringDialog = f.mousePointer();
            QCOMPARE(f.Label1.caption(), QStringLiteral("1000500"));
            AsSelect(dialog).Image10.click();
            closedByChoice = !dialog.isVisible();
        });
        game.rnd.script({pick(0, 4)});
        f.Image10.click();
        QCOMPARE(game.prompts.dialogsShown, QStringList{QStringLiteral("FrmSelect")});
        QVERIFY(closedByChoice);
        QCOMPARE(pointerDuringDialog, ui::MousePointer::Hourglass);
        QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
        QCOMPARE(f.Label1.caption(), QStringLiteral("1000400"));
        QCOMPARE(TargetSymbol, 9);
        QCOMPARE(TargetRate, 100);
        QCOMPARE(f.Image14.picture(), game.path(QStringLiteral("R09.BMP")));
        QVERIFY(f.Command1.visible());
        QCOMPARE(f.Label11.caption(), QStringLiteral("1"));
    }

    void eachSymbolHasItsImage_data()
    {
        QTest::addColumn<int>("symbol");
        for (int k = 1; k <= 9; ++k)
            QTest::addRow("symbol %d", k) << k;
    }
    void eachSymbolHasItsImage()
    {
        QFETCH(int, symbol);
        Game game;
        FrmMain& f = Start(game);
        f.Label1.setCaption(QStringLiteral("2000000"));
        FrmSelect dialog(f);
        dialog.show();
        dialog.SymbolImage(symbol).click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(TargetSymbol, symbol);
        QCOMPARE(TargetRate, 100);
        QCOMPARE(f.Label1.caption(), QStringLiteral("1999900"));
        QCOMPARE(f.Image14.picture(), game.path(QStringLiteral("R0%1.BMP").arg(symbol)));
    }

    void decliningIsFree_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape right after opening") << "escape";
        QTest::newRow("button") << "button";
        QTest::newRow("close box") << "close";
        QTest::newRow("Escape on the button") << "escape-on-button";
    }
    void decliningIsFree()
    {
        QFETCH(QString, how);
        Game game;
        FrmMain& f = Start(game);
        f.Label1.setCaption(MoneyBeforeHit);
        bool closed = false;
        game.prompts.dialogHandlers.push_back([&](QDialog& dialog) {
            FrmSelect& select = AsSelect(dialog);
            if (how == QLatin1String("escape"))
                QTest::keyClick(&select, Qt::Key_Escape);
            else if (how == QLatin1String("escape-on-button"))
                QTest::keyClick(select.Command1, Qt::Key_Escape);
            else if (how == QLatin1String("button"))
                select.Command1->click();
            else
                select.close();
            closed = !dialog.isVisible();
        });
        game.rnd.script({pick(0, 4)});
        f.Image10.click();
        QVERIFY(closed);
        QCOMPARE(f.Label1.caption(), QStringLiteral("1000500"));
        QCOMPARE(TargetSymbol, 0);
        QCOMPARE(TargetRate, 1);
        QCOMPARE(f.Image14.picture(), game.path(QStringLiteral("BAI01.BMP")));
        QVERIFY(f.Command1.visible());
        QVERIFY(!game.host.endedFlag); // Escape here never quits the game
    }

    void otherKeysLeaveTheDialogOpen()
    {
        Game game;
        FrmMain& f = Start(game);
        FrmSelect dialog(f);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_A);
        QTest::keyClick(&dialog, Qt::Key_5);
        QVERIFY(dialog.isVisible());
        QCOMPARE(TargetSymbol, 0);
    }

    void missingSymbolPictureStillOpens()
    {
        Game game;
        game.removeFile(QStringLiteral("R05.BMP"));
        FrmMain& f = Start(game);
        f.Label1.setCaption(QStringLiteral("2000000"));
        FrmSelect dialog(f);
        dialog.show();
        QVERIFY(!dialog.Image6.hasPicture());
        QVERIFY(dialog.Image7.hasPicture());
        dialog.Image6.click();
        QCOMPARE(TargetSymbol, 5);
        QCOMPARE(f.Label1.caption(), QStringLiteral("1999900"));
        QVERIFY(!f.Image14.hasPicture());
    }

    // ------------------------------------------------------------ loans
    void hundredDollarLoan_data()
    {
        QTest::addColumn<int>("draw");
        QTest::addColumn<QString>("money");
        QTest::addColumn<QString>("message");
        const QStringList refusals{QStringLiteral("僕も貸す金ないよ."), QStringLiteral("貸せないよ."),
                                   QStringLiteral("そんな簡単に貸せないよ.")};
        for (int d = 0; d < 10; ++d) {
            const bool refused = d >= 1 && d <= 3;
            QTest::addRow("draw %d", d) << d << (refused ? QStringLiteral("0") : QStringLiteral("100"))
                                        << (refused ? refusals[d - 1] : QString());
        }
    }
    void hundredDollarLoan()
    {
        QFETCH(int, draw);
        QFETCH(QString, money);
        QFETCH(QString, message);
        Game game;
        FrmMain& f = Start(game);
        f.Label1.setCaption(QStringLiteral("0"));
        game.rnd.script({pick(draw, 10)});
        f.mnuRent.click();
        QCOMPARE(f.Label1.caption(), money);
        if (message.isEmpty()) {
            QVERIFY(game.prompts.messages.empty());
        } else {
            QCOMPARE(game.prompts.messages.size(), std::size_t(1));
            QCOMPARE(game.prompts.messages[0].text, message);
            QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
            QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        }
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
    }

    void thousandDollarLoan_data()
    {
        QTest::addColumn<int>("draw");
        QTest::addColumn<bool>("granted");
        for (int d : {0, 1, 2, 25, 49})
            QTest::addRow("draw %d", d) << d << (d == 1);
    }
    void thousandDollarLoan()
    {
        QFETCH(int, draw);
        QFETCH(bool, granted);
        Game game;
        FrmMain& f = Start(game);
        f.Label1.setCaption(QStringLiteral("0"));
        game.rnd.script({pick(draw, 50)});
        f.mnuRen1.click();
        QCOMPARE(f.Label1.caption(), granted ? QStringLiteral("1000") : QStringLiteral("0"));
        if (granted) {
            QVERIFY(game.prompts.messages.empty());
        } else {
            QCOMPARE(game.prompts.texts(), QStringList{QStringLiteral("ちょっと！そんな大金ないよ。")});
            QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
            QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        }
    }

    void loansNeedEmptyPockets_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<bool>("thousand");
        for (const char* money : {"10", "1", "-10"}) {
            QTest::addRow("$100 loan with %s", money) << QString::fromLatin1(money) << false;
            QTest::addRow("$1000 loan with %s", money) << QString::fromLatin1(money) << true;
        }
    }
    void loansNeedEmptyPockets()
    {
        QFETCH(QString, money);
        QFETCH(bool, thousand);
        Game game;
        FrmMain& f = Start(game);
        f.Label1.setCaption(money);
        (thousand ? f.mnuRen1 : f.mnuRent).click();
        QCOMPARE(f.Label1.caption(), money);
        QCOMPARE(game.prompts.texts(), QStringList{QStringLiteral("どうして？お金もってるじゃない！")});
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(game.rnd.draws(), 0);
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
        QTest::newRow("3.5 rounds to 4") << "3.5" << 300;
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
        Game game;
        FrmMain& f = Start(game);
        f.ProbDenominator = 450;
        game.prompts.inputAnswers.push_back(answer);
        f.mnuKakuritu_Click();

        QCOMPARE(game.prompts.inputs.size(), std::size_t(1));
        const auto& input = game.prompts.inputs[0];
        QCOMPARE(input.title, QStringLiteral("確率変動"));
        QCOMPARE(input.defaultText, QStringLiteral("450"));
        QCOMPARE(input.prompt, QStringLiteral("確率の分母を入力してください。\r\n通常の確率分母は 300 です。\r\n"
                                              "大当り値が 6 個ある為 6 以下の数値は入力できません。"));
        const QString n = QString::number(expected);
        QCOMPARE(game.prompts.texts(), QStringList{QStringLiteral("確率を") + n + QStringLiteral("分の6に変更しました。")});
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        QCOMPARE(SaveLines[28], QStringLiteral("1"));
        QCOMPARE(SaveLines[29], QStringLiteral("ChosenGuest"));
        QCOMPARE(SaveLines[30], n);
        QCOMPARE(f.ProbDenominator, double(expected));
        QVERIFY(!game.host.endedFlag);
    }

    void probabilityDefaultIsTheNormalDenominator()
    {
        Game game;
        FrmMain& f = Start(game);
        game.prompts.inputAnswers.push_back(QString());
        f.mnuKakuritu_Click();
        QCOMPARE(game.prompts.inputs[0].defaultText, QStringLiteral("300"));
        QCOMPARE(game.prompts.texts(), QStringList{QStringLiteral("確率を300分の6に変更しました。")});
        QCOMPARE(SaveLines[30], QStringLiteral("300"));
        // The next opening offers the value now in force.
        game.prompts.inputAnswers.push_back(QStringLiteral("1000"));
        f.mnuKakuritu_Click();
        game.prompts.inputAnswers.push_back(QString());
        f.mnuKakuritu_Click();
        QCOMPARE(game.prompts.inputs[2].defaultText, QStringLiteral("1000"));
        QCOMPARE(f.ProbDenominator, 1000.0);
    }
};

QTEST_MAIN(TestFeatures)
#include "test_features.moc"
