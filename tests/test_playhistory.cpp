// SPDX-License-Identifier: MIT
// The play history in the running game: spins reach history.sqlite and the
// data counter, across sessions; a history file that cannot be used costs
// one message and the history, never the game or its save files; export
// and clearing from the counter window, with the words of each message.
#include "app/StatsCommand.h"
#include "tests/support/SessionRig.h"
#include "ui/DataCounterWindow.h"

#include <QJsonDocument>
#include <QtTest>

using namespace testing;

namespace {

// Plays whole spins at BET 1 with seeded draws, stopping the slot chance at
// once, and lets the queued messages show after each.
void playSpins(game::Machine& machine, int spins)
{
    for (int i = 0; i < spins; ++i) {
        for (int cover = 0; machine.state().bet == 0; cover = (cover + 1) % 4) {
            while (machine.state().money < game::CoverPrice)
                machine.borrow100();
            machine.pickCover(cover);
        }
        machine.startSpin();
        if (machine.state().slotChanceSpin) {
            for (game::Reel reel : {game::Reel::Left, game::Reel::Centre, game::Reel::Right})
                machine.pressStop(reel);
        }
        runReels(machine, 100000);
        QCoreApplication::processEvents();
    }
}

int historyMessages(const ScriptedDialogs& dialogs)
{
    return int(dialogs.texts().filter(QStringLiteral("history.sqlite")).size());
}

} // namespace

class TestPlayHistory : public QObject {
    Q_OBJECT
private slots:
    void spinsAreCountedAcrossSessions()
    {
        SessionRig rig;
        SeededRandom draws(11);
        rig.play();
        seams::install(&draws);
        playSpins(rig.machine(), 3);
        rig.session().quit();
        rig.endSession();

        rig.host.endedFlag = false;
        rig.play();
        seams::install(&draws);
        playSpins(rig.machine(), 2);
        app::PlayHistory& history = rig.session().playHistory();
        history.openCounter();
        QVERIFY(history.counterWindow() && history.counterWindow()->isVisible());
        QCOMPARE(history.counter()->session().spins, qint64(2));
        QCOMPARE(history.counter()->allTime().spins, qint64(5));
        // Live: a spin with the window open counts at once.
        playSpins(rig.machine(), 1);
        QCOMPARE(history.counter()->allTime().spins, qint64(6));
        QCOMPARE(historyMessages(rig.dialogs), 0);
        seams::install(&rig.rnd);
    }

    void brokenHistoryCostsOnlyTheHistory_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("garbage") << QStringLiteral("garbage");
        QTest::newRow("a directory") << QStringLiteral("directory");
    }
    void brokenHistoryCostsOnlyTheHistory()
    {
        QFETCH(QString, damage);
        SessionRig rig;
        const QByteArray garbage = QByteArray("not a history\n").repeated(300);
        if (damage == QLatin1String("garbage"))
            rig.writeFile(QStringLiteral("history.sqlite"), garbage);
        else
            QVERIFY(QDir(rig.dir()).mkdir(QStringLiteral("history.sqlite")));
        SeededRandom draws(12);
        rig.play();
        seams::install(&draws);
        playSpins(rig.machine(), 3);
        QCOMPARE(historyMessages(rig.dialogs), 1);
        // The counter still shows this session, from memory; there is
        // nothing to export or clear.
        app::PlayHistory& history = rig.session().playHistory();
        history.openCounter();
        QCOMPARE(history.counter()->session().spins, qint64(3));
        rig.dialogs.clear();
        emit history.counterWindow()->exportRequested();
        emit history.counterWindow()->clearRequested();
        QCOMPARE(rig.dialogs.texts(), QStringList({"プレイ履歴ファイルが使えないため、書き出せません。",
                                                   "プレイ履歴ファイルが使えないため、消去できません。"}));
        rig.dialogs.clear();
        const qint64 money = rig.s().money;
        rig.session().quit();
        seams::install(&rig.rnd);
        QCOMPARE(historyMessages(rig.dialogs), 0);
        QVERIFY(rig.readFile(QStringLiteral("Zelmor.ini")).contains(QByteArray::number(money)));
        if (damage == QLatin1String("garbage"))
            QCOMPARE(rig.readFile(QStringLiteral("history.sqlite")), garbage);
    }

    void exportAndClearFromTheCounter()
    {
        SessionRig rig;
        SeededRandom draws(13);
        rig.play();
        seams::install(&draws);
        playSpins(rig.machine(), 2);
        app::PlayHistory& history = rig.session().playHistory();
        history.openCounter();

        const QString exported = rig.path(QStringLiteral("export.csv"));
        rig.dialogs.savePaths.push_back(exported);
        emit history.counterWindow()->exportRequested();
        const QList<QByteArray> lines = rig.readFile(QStringLiteral("export.csv")).split('\n');
        QVERIFY(lines.first().startsWith("played_at,"));
        QCOMPARE(lines.size(), 4); // header, two spins, and the final line end
        QCOMPARE(rig.dialogs.shown, QStringList({"save as: プレイ履歴を CSV に書き出す",
                                                 "message プレイ履歴を書き出しました。\r\n" + exported}));

        rig.dialogs.clear();
        rig.dialogs.answers.push_back(ui::Answer::No);
        emit history.counterWindow()->clearRequested();
        QCOMPARE(history.counter()->allTime().spins, qint64(2));
        QCOMPARE(rig.dialogs.messages.back(),
                 (ui::Message{QStringLiteral("ゼルモア"),
                              QStringLiteral("プレイ履歴をすべて消去します。\r\n"
                                             "データカウンターの数字とスランプグラフも 0 に戻ります。\r\n"
                                             "よろしいですか？"),
                              QMessageBox::Warning, ui::Buttons::YesNo}));
        rig.dialogs.answers.push_back(ui::Answer::Yes);
        emit history.counterWindow()->clearRequested();
        QCOMPARE(history.counter()->allTime().spins, qint64(0));
        QCOMPARE(rig.dialogs.messages.size(), std::size_t(2));
        playSpins(rig.machine(), 1);
        QCOMPARE(history.counter()->allTime().spins, qint64(1));
        seams::install(&rig.rnd);
    }

    // zelmor --stats: amounts named with their unit, and figures rounded as a
    // person reads them, without the float noise of long sums.
    void statsJson()
    {
        game::PlayTally tally;
        tally.spins = 3;
        tally.paidIn = 300;
        tally.paidOut = 714; // a return of 2.38, which no double holds exactly
        tally.loans = 3500;
        tally.expectedJackpots = 0.1 + 0.2;
        tally.expectedPaidIn = 300;
        tally.expectedPaidOut = 1.0 / 3.0 * 900;
        const QJsonObject json = app::TallyJson(tally);
        QCOMPARE(json.value(QStringLiteral("loans_dollars")).toInteger(), 3500);
        QVERIFY(!json.contains(QStringLiteral("loans")) && !json.contains(QStringLiteral("paid_in")));
        const QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Compact);
        QVERIFY2(text.contains("\"return\":2.38,"), text.constData());
        QVERIFY2(text.contains("\"jackpots\":0.3,"), text.constData());
        QVERIFY2(text.contains("\"paid_out_dollars\":300,"), text.constData());
    }
};

QTEST_MAIN(TestPlayHistory)
#include "test_playhistory.moc"
