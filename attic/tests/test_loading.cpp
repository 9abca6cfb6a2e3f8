// Start-up with saved files: first start, the integrity check, the fatal
// loading error and the battle of wits.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "storage/FrmChie.h"
#include "storage/FrmKurabe.h"
#include "tests/support/SavedGame.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

const QString Title = QStringLiteral("ゼルモア");
const QString Welcome = QStringLiteral("この度はダウンロードして頂きありがとうございます。\r\n"
                                       "ちょっとした息抜きにぴったりですので、末永く御利用\r\n"
                                       "下さいます様お願い致します。");
const QString BelowSix = QStringLiteral("確率の分子は６の為、分母は６以上の値を設定して下さい。\r\n"
                                        "６でほとんど大当たりします。初期値は３００です。");
const QString ResetNotice = QStringLiteral("残念ですがデータは初期値に戻しましたので、ご了承下さい。");
const QString Consolation = QStringLiteral("あなたは残念賞と認定されました。");

QString Probability(const QString& t)
{
    return QStringLiteral("現在の確率設定は、") + t + QStringLiteral("分の6に設定されています。");
}

QString Fatal(const QString& number)
{
    return QStringLiteral("致命的なエラーが発生しました。\r\nエラー番号 ") + number
        + QStringLiteral(" でエラーが発生しています。\r\nこの番号を作者までご連絡下さい。次期バージョンに修正します。");
}

void WritePair(Game& game, const QByteArray& settings, const QByteArray& data)
{
    game.writeFile(QStringLiteral("Zelmor.ini"), settings);
    game.writeFile(QStringLiteral("Zelmor.bin"), data);
}

// Filler bytes for the saves that follow.
void ScriptFiller(Game& game, int saves = 2)
{
    for (int i = 0; i < saves * 99; ++i)
        game.rnd.push(pick(0x41, 255));
}

// A pair whose check fails: the money was edited in the settings file only.
void WriteTampered(Game& game, QMap<int, QString> lines = {})
{
    WritePair(game, SavedSettings(QStringLiteral("5000"), lines), DataBytes("100"));
    ScriptFiller(game);
}

// Remembers what the failure dialog showed.
struct KurabeSeen {
    bool shown = false;
    QString count, text;
    bool hint1 = false, hint2 = false, hint3 = false;
};

std::function<void(QDialog&)> Watch(KurabeSeen& seen)
{
    return [&seen](QDialog& dialog) {
        auto& k = static_cast<FrmKurabe&>(dialog);
        seen.shown = true;
        seen.count = k.Label6.caption();
        seen.text = k.Label1.caption();
        seen.hint1 = k.Label2.visible();
        seen.hint2 = k.Label3.visible();
        seen.hint3 = k.Label4.visible();
    };
}

std::function<void(QDialog&)> Press(QPushButton* FrmChie::*button)
{
    return [button](QDialog& dialog) { (static_cast<FrmChie&>(dialog).*button)->click(); };
}

QStringList SavedLines(Game& game)
{
    return SettingsLinesOf(game.readFile(QStringLiteral("Zelmor.ini")));
}

} // namespace

class TestLoading : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithoutFiles()
    {
        Game game;
        FrmMain& f = game.start();
        QCOMPARE(game.prompts.texts(), (QStringList{Welcome, Probability(QStringLiteral("300"))}));
        for (const Message& m : game.prompts.messages) {
            QCOMPARE(m.style, int(seams::vbInformation));
            QCOMPARE(m.title, Title);
        }
        QCOMPARE(f.Label1.caption(), QStringLiteral("100"));
        QCOMPARE(f.ProbDenominator, 300.0);
        QCOMPARE(f.FileMissing, 1);
        QVERIFY(!game.host.endedFlag);
        QVERIFY(game.prompts.dialogsShown.isEmpty());
    }

    void settingsDeletedDataKeptIsFirstStart()
    {
        Game game;
        game.writeFile(QStringLiteral("Zelmor.bin"), DataBytes("5000"));
        FrmMain& f = game.start();
        QCOMPARE(game.prompts.texts().value(0), Welcome);
        QCOMPARE(f.Label1.caption(), QStringLiteral("100"));
        QVERIFY(game.prompts.dialogsShown.isEmpty());
    }

    void resumesFromAGoodPair()
    {
        Game game;
        WritePair(game, SavedSettings(QStringLiteral("12345")), DataBytes("12345"));
        FrmMain& f = game.start();
        QCOMPARE(game.prompts.texts(), QStringList{Probability(QStringLiteral("300"))});
        QCOMPARE(f.Label1.caption(), QStringLiteral("12345"));
        QCOMPARE(f.LoadedMark, 1.0);
        QCOMPARE(AppDir, game.dir() + QLatin1Char('/'));
    }

    void probabilityLine_data()
    {
        QTest::addColumn<QString>("line30");
        QTest::addColumn<double>("denominator");
        QTest::addColumn<bool>("warned");
        QTest::newRow("empty") << QString() << 300.0 << false;
        QTest::newRow("6") << QStringLiteral("6") << 6.0 << false;
        QTest::newRow("5") << QStringLiteral("5") << 300.0 << true;
        QTest::newRow("abc") << QStringLiteral("abc") << 300.0 << true;
        QTest::newRow("negative") << QStringLiteral("-50") << 300.0 << true;
        QTest::newRow("fraction") << QStringLiteral("6.5") << 6.5 << false;
        QTest::newRow("huge") << QStringLiteral("1e300") << 1e300 << false;
        QTest::newRow("overflow") << QStringLiteral("1e999") << 300.0 << true;
        QTest::newRow("blanks") << QStringLiteral("   ") << 300.0 << true;
        QTest::newRow("1000") << QStringLiteral("1000") << 1000.0 << false;
    }
    void probabilityLine()
    {
        QFETCH(QString, line30);
        QFETCH(double, denominator);
        QFETCH(bool, warned);
        Game game;
        WritePair(game, SavedSettings(QStringLiteral("100"), {{30, line30}}), DataBytes("100"));
        FrmMain& f = game.start();
        QCOMPARE(f.ProbDenominator, denominator);
        QStringList expected;
        if (warned)
            expected << BelowSix;
        expected << Probability(line30.isEmpty() ? QStringLiteral("300") : line30);
        QCOMPARE(game.prompts.texts(), expected);
        QCOMPARE(SaveLines[30], line30); // never rewritten
    }

    void soundSwitchCheckMark_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::addColumn<bool>("checked");
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("other") << QStringLiteral("2") << false;
    }
    void soundSwitchCheckMark()
    {
        QFETCH(QString, line3);
        QFETCH(bool, checked);
        Game game;
        WritePair(game, SavedSettings(QStringLiteral("100"), {{3, line3}}), DataBytes("100"));
        QCOMPARE(game.start().mnuMusic.checked(), checked);
    }

    void probabilityCommandUnlock_data()
    {
        QTest::addColumn<QString>("line28");
        QTest::addColumn<QString>("line29");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("both") << QStringLiteral("1") << QStringLiteral("ChosenGuest") << true;
        QTest::newRow("28 only") << QStringLiteral("1") << QString() << false;
        QTest::newRow("29 only") << QString() << QStringLiteral("ChosenGuest") << false;
        QTest::newRow("neither") << QString() << QString() << false;
        QTest::newRow("other case") << QStringLiteral("1") << QStringLiteral("chosenguest") << false;
    }
    void probabilityCommandUnlock()
    {
        QFETCH(QString, line28);
        QFETCH(QString, line29);
        QFETCH(bool, enabled);
        Game game;
        WritePair(game, SavedSettings(QStringLiteral("100"), {{28, line28}, {29, line29}}), DataBytes("100"));
        QCOMPARE(game.start().mnuKakuritu.enabled(), enabled);
    }

    // The failed check: the dialogs, a save with money 100 and mark "p", and
    // the end of the program before the window was ever shown.
    void failedCheckEndsWithoutTheWindow()
    {
        Game game;
        WriteTampered(game);
        FrmMain& f = game.start();
        QCOMPARE(game.prompts.dialogsShown, QStringList{QStringLiteral("FrmChie")});
        QVERIFY(game.prompts.messages.empty()); // no welcome, probability or reward
        QVERIFY(game.host.endedFlag);
        QCOMPARE(game.host.endCount, 1);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.DataMark, 0);
        const QStringList lines = SavedLines(game);
        QCOMPARE(lines.size(), 30);
        QCOMPARE(lines[0], game.dir()); // the directory as reported, no separator appended
        QCOMPARE(lines[1], QStringLiteral("100"));
        QCOMPARE(lines[3], QStringLiteral("3"));
        const QByteArray data = game.readFile(QStringLiteral("Zelmor.bin"));
        QCOMPARE(data.size(), 200);
        QCOMPARE(data.left(5), QByteArray("\x65\x00" "c\xD1\xD0", 5));
        QCOMPARE(data[102], 'p');
    }

    void failureCases_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("secondsApart");
        QTest::newRow("data file missing") << SavedSettings(QStringLiteral("100")) << QByteArray() << 0;
        QTest::newRow("money edited") << SavedSettings(QStringLiteral("5000")) << DataBytes("100") << 0;
        QTest::newRow("data written 51 s later") << SavedSettings(QStringLiteral("100")) << DataBytes("100") << 51;
        QTest::newRow("data written 51 s earlier") << SavedSettings(QStringLiteral("100")) << DataBytes("100")
                                                   << -51;
    }
    void failureCases()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, data);
        QFETCH(int, secondsApart);
        Game game;
        game.writeFile(QStringLiteral("Zelmor.ini"), settings);
        ScriptFiller(game);
        if (!data.isEmpty()) {
            game.writeFile(QStringLiteral("Zelmor.bin"), data);
            const QDateTime t(QDate(2024, 3, 3), QTime(9, 0, 0));
            SetModified(game.path(QStringLiteral("Zelmor.ini")), t);
            SetModified(game.path(QStringLiteral("Zelmor.bin")), t.addSecs(secondsApart));
        }
        game.start();
        QCOMPARE(game.prompts.dialogsShown, QStringList{QStringLiteral("FrmChie")});
        QVERIFY(game.host.endedFlag);
        QCOMPARE(SavedLines(game).value(1), QStringLiteral("100"));
        QCOMPARE(game.readFile(QStringLiteral("Zelmor.bin")).at(102), 'p');
    }

    void fatalLoadingError_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("number");
        QTest::newRow("settings with 10 lines") << SettingsBytes({{2, QStringLiteral("100")}}, 10)
                                                << DataBytes("100") << QStringLiteral(" 62");
        QTest::newRow("empty data file") << SavedSettings(QStringLiteral("100")) << QByteArray()
                                         << QStringLiteral(" 5");
        QTest::newRow("data byte below its offset") << SavedSettings(QStringLiteral("100"))
                                                    << QByteArray("\x65\x00" "c\x01\x02", 5) << QStringLiteral(" 5");
        QTest::newRow("settings is a directory") << QByteArray("<dir>") << DataBytes("100") << QStringLiteral(" 75");
    }
    void fatalLoadingError()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, data);
        QFETCH(QString, number);
        Game game;
        if (settings == "<dir>")
            QDir(game.dir()).mkdir(QStringLiteral("Zelmor.ini"));
        else
            game.writeFile(QStringLiteral("Zelmor.ini"), settings);
        game.writeFile(QStringLiteral("Zelmor.bin"), data);
        FrmMain& f = game.start();
        QCOMPARE(game.prompts.messages.size(), std::size_t(1));
        QCOMPARE(game.prompts.messages[0].text, Fatal(number));
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbOKOnly));
        QCOMPARE(game.prompts.messages[0].title, QStringLiteral("Zelmor"));
        QVERIFY(game.host.endedFlag);
        QVERIFY(!f.isVisible());
        QVERIFY(game.prompts.dialogsShown.isEmpty());
        // Nothing was saved: both files are exactly as they were.
        if (settings != "<dir>")
            QCOMPARE(game.readFile(QStringLiteral("Zelmor.ini")), settings);
        QCOMPARE(game.readFile(QStringLiteral("Zelmor.bin")), data);
    }

    void fatalMessageForErrorSixtyTwoHasTwoBlanks()
    {
        QCOMPARE(Fatal(rt::SignedText(62)).split(QStringLiteral("\r\n")).value(1),
                 QStringLiteral("エラー番号  62 でエラーが発生しています。"));
    }

    void warningDialogControls()
    {
        Game game;
        QImage picture(32, 32, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        picture.save(game.path(QStringLiteral("CHIE.BMP")), "BMP");
        WriteTampered(game);
        bool checked = false;
        game.prompts.dialogHandlers.push_back([&](QDialog& dialog) {
            auto& c = static_cast<FrmChie&>(dialog);
            QCOMPARE(c.windowTitle(), QStringLiteral("ゼルモア　知恵くらべにようこそ"));
            QVERIFY(c.Label1.caption().startsWith(QStringLiteral("あなたはゼルモアのデータ領域に変更を加えました。")));
            QVERIFY(c.Label1.caption().endsWith(QStringLiteral("このような行為はしないで下さい。")));
            QCOMPARE(c.Command1->text(), QStringLiteral("はい、わかりました今後変更はしません。"));
            QCOMPARE(c.Command1->toolTip(), QStringLiteral("解除の仕方を調べるのも楽しいかもしれませんね。"));
            QCOMPARE(c.Command2->text(), QStringLiteral("絶対解除する方法を見つける。"));
            QCOMPARE(c.Command2->toolTip(), QStringLiteral("是非調べてみてください。"));
            QCOMPARE(c.Image1.picture(), game.path(QStringLiteral("CHIE.BMP")));
            QVERIFY(SaveLines[5].isEmpty());
            checked = true;
        });
        game.start();
        QVERIFY(checked);
        QVERIFY(game.prompts.messages.empty()); // closed with the close box: no battle
        QCOMPARE(SavedLines(game).value(4), QString());
    }

    void warningDialogWithoutPicture()
    {
        Game game;
        QFile::remove(game.path(QStringLiteral("CHIE.BMP")));
        WriteTampered(game);
        bool empty = false;
        game.prompts.dialogHandlers.push_back(
            [&](QDialog& dialog) { empty = !static_cast<FrmChie&>(dialog).Image1.hasPicture(); });
        game.start();
        QVERIFY(empty);
    }

    void declinedWithCommand1()
    {
        Game game;
        WriteTampered(game, {{6, QStringLiteral("3")}});
        game.prompts.dialogHandlers.push_back(Press(&FrmChie::Command1));
        game.start();
        QCOMPARE(game.prompts.texts(), QStringList{ResetNotice});
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(game.prompts.messages[0].title, Title);
        QCOMPARE(game.prompts.dialogsShown, QStringList{QStringLiteral("FrmChie")});
        QCOMPARE(SavedLines(game).value(4), QString());
        QCOMPARE(SavedLines(game).value(5), QStringLiteral("3"));
    }

    void command2AnsweredNo()
    {
        Game game;
        WriteTampered(game, {{6, QStringLiteral("3")}});
        game.prompts.answers = {seams::vbNo};
        game.prompts.dialogHandlers.push_back(Press(&FrmChie::Command2));
        game.start();
        QCOMPARE(game.prompts.messages.size(), std::size_t(2));
        QCOMPARE(game.prompts.messages[0].text,
                 QStringLiteral("注意：あなたがデータ変更したことによっての生じたいかなる障害・問題\r\n"
                                "　　　　に対しても作者は一切の責任を負わないものとします。"));
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbExclamation | seams::vbYesNo));
        QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア　ご確認"));
        QCOMPARE(game.prompts.messages[1].text, ResetNotice);
        QCOMPARE(game.prompts.dialogsShown, QStringList{QStringLiteral("FrmChie")});
        QCOMPARE(SavedLines(game).value(4), QString());
        QCOMPARE(SavedLines(game).value(5), QStringLiteral("3")); // count unchanged
    }

    void firstFailureTakenUp()
    {
        Game game;
        WriteTampered(game);
        game.prompts.answers = {seams::vbYes};
        KurabeSeen seen;
        game.prompts.dialogHandlers = {Press(&FrmChie::Command2), Watch(seen)};
        game.start();
        QCOMPARE(game.prompts.dialogsShown, (QStringList{QStringLiteral("FrmChie"), QStringLiteral("FrmKurabe")}));
        QCOMPARE(seen.count, QStringLiteral("1"));
        QVERIFY(seen.hint1 && !seen.hint2 && !seen.hint3);
        QVERIFY(seen.text.startsWith(QStringLiteral("今回はチェックをパスする事は出来ませんでした")));
        QCOMPARE(SavedLines(game).value(4), QStringLiteral("絶対解除する"));
        QCOMPARE(SavedLines(game).value(5), QStringLiteral("1"));
    }

    void failureDialogIgnoresEscape()
    {
        Game game;
        WriteTampered(game, {{5, QStringLiteral("絶対解除する")}});
        bool stillOpen = false;
        game.prompts.dialogHandlers = {[&](QDialog& dialog) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
            stillOpen = dialog.isVisible();
        }};
        game.start();
        QVERIFY(stillOpen);
    }

    void laterFailures_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("countBefore");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("hints");
        QTest::addColumn<bool>("consolation");
        const QString taken = QStringLiteral("絶対解除する");
        QTest::newRow("2nd") << taken << QStringLiteral("1") << QStringLiteral("2") << 1 << false;
        QTest::newRow("5th") << taken << QStringLiteral("4") << QStringLiteral("5") << 2 << false;
        QTest::newRow("8th") << taken << QStringLiteral("7") << QStringLiteral("8") << 2 << false;
        QTest::newRow("9th") << taken << QStringLiteral("8") << QStringLiteral("9") << 3 << false;
        QTest::newRow("10th") << taken << QStringLiteral("9") << QStringLiteral("10") << 3 << true;
        QTest::newRow("12th, consoled") << Consolation << QStringLiteral("11") << QStringLiteral("12") << 3 << true;
        QTest::newRow("count empty") << taken << QString() << QStringLiteral("1") << 1 << false;
        QTest::newRow("count junk") << taken << QStringLiteral("x7") << QStringLiteral("1") << 1 << false;
        QTest::newRow("count fractional") << taken << QStringLiteral("3.25") << QStringLiteral("4") << 1 << false;
        QTest::newRow("count negative") << taken << QStringLiteral("-3") << QStringLiteral("-2") << 0 << false;
        QTest::newRow("count huge") << taken << QStringLiteral("1e20") << QStringLiteral("100000000000000000000")
                                    << 3 << true;
    }
    void laterFailures()
    {
        QFETCH(QString, status);
        QFETCH(QString, countBefore);
        QFETCH(QString, count);
        QFETCH(int, hints);
        QFETCH(bool, consolation);
        Game game;
        WriteTampered(game, {{5, status}, {6, countBefore}});
        KurabeSeen seen;
        game.prompts.dialogHandlers = {Watch(seen)};
        game.start();
        QCOMPARE(game.prompts.dialogsShown, QStringList{QStringLiteral("FrmKurabe")});
        QCOMPARE(seen.count, count);
        QCOMPARE(seen.hint1, hints >= 1);
        QCOMPARE(seen.hint2, hints >= 2);
        QCOMPARE(seen.hint3, hints >= 3);
        QCOMPARE(seen.text == QStringLiteral("あなたは　残念賞　と認定されました。"), consolation);
        QCOMPARE(SavedLines(game).value(4), consolation ? Consolation : status);
        QCOMPARE(SavedLines(game).value(5), count);
        QVERIFY(game.prompts.messages.empty());
    }

    void checkPassedEarnsTheReward()
    {
        Game game;
        WritePair(game, SavedSettings(QStringLiteral("5000"), {{5, QStringLiteral("絶対解除する")}, {6, QStringLiteral("4")}}),
                  DataBytes("5000", 'p'));
        FrmMain& f = game.start();
        const QStringList texts = game.prompts.texts();
        QCOMPARE(texts.size(), 2);
        const QStringList reward = texts[0].split(QStringLiteral("\r\n"));
        QCOMPARE(reward.size(), 6);
        QCOMPARE(reward[0], QStringLiteral("チェックをパスする事に成功しました。"));
        QCOMPARE(reward[1], QStringLiteral("ご褒美としてあなた様には確率を変動させることを許可します。"));
        QCOMPARE(reward[2], QStringLiteral("Zelmor.ini ３０行に分母の確立が設定できます。"));
        QCOMPARE(reward[3], QStringLiteral("初期値 6/300 ですので 6の設定でほとんど大当たりが期待できます。"));
        QCOMPARE(reward[4], QStringLiteral("また、ご意見、ご感想をメールでいただけたらと思います。"));
        QCOMPARE(reward[5], QStringLiteral("右記メールアドレスでお待ちしています。 zelmor@example.com"));
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(game.prompts.messages[0].title, Title);
        QCOMPARE(texts[1], Probability(QStringLiteral("300")));
        QVERIFY(SaveLines[5].isEmpty());
        QVERIFY(SaveLines[6].isEmpty());
        QCOMPARE(SaveLines[28], QString());
        QCOMPARE(f.Label1.caption(), QStringLiteral("5000"));
        QVERIFY(!game.host.endedFlag);
    }

    void checkPassedStaysSilent_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<char>("mark");
        QTest::addColumn<QString>("status");
        QTest::newRow("ordinary exit mark") << QStringLiteral("5000") << 'q' << QStringLiteral("絶対解除する");
        QTest::newRow("money left at 100") << QStringLiteral("100") << 'p' << QStringLiteral("絶対解除する");
        QTest::newRow("no battle") << QStringLiteral("5000") << 'p' << QString();
    }
    void checkPassedStaysSilent()
    {
        QFETCH(QString, money);
        QFETCH(char, mark);
        QFETCH(QString, status);
        Game game;
        WritePair(game, SavedSettings(money, {{5, status}, {6, QStringLiteral("2")}}), DataBytes(money.toLatin1(), mark));
        game.start();
        QCOMPARE(game.prompts.texts(), QStringList{Probability(QStringLiteral("300"))});
        QCOMPARE(SaveLines[5], status);
        QCOMPARE(SaveLines[6], QStringLiteral("2"));
    }

    // A pass is saved with lines 5 and 6 empty, so a later failure starts over
    // with the warning and a count from 1 (see firstFailureTakenUp).
    void passThenFailStartsOver()
    {
        Game game;
        WritePair(game, SavedSettings(QStringLiteral("5000"), {{5, QStringLiteral("絶対解除する")}, {6, QStringLiteral("4")}}),
                  DataBytes("5000", 'p'));
        FrmMain& f = game.start();
        ScriptFiller(game, 1);
        f.mnuQuit_Click();
        QCOMPARE(SavedLines(game).value(4), QString());
        QCOMPARE(SavedLines(game).value(5), QString());
    }
};

QTEST_MAIN(TestLoading)
#include "test_loading.moc"
