// SPDX-License-Identifier: MIT
// The play history in the running game: spins reach history.sqlite and the
// data counter, across sessions; a history file that cannot be used costs
// one message and the history, never the game or its save files; export
// and clearing from the counter window.
#include "tests/support/SessionRig.h"
#include "ui/DataCounterWindow.h"

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

int historyMessages(const ScriptedPrompts& prompts)
{
    return int(prompts.texts().filter(QStringLiteral("history.sqlite")).size());
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
        QCOMPARE(historyMessages(rig.prompts), 0);
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
        QCOMPARE(historyMessages(rig.prompts), 1);
        // The counter still shows this session, from memory.
        rig.session().playHistory().openCounter();
        QCOMPARE(rig.session().playHistory().counter()->session().spins, qint64(3));
        const qint64 money = rig.s().money;
        rig.session().quit();
        seams::install(&rig.rnd);
        QCOMPARE(historyMessages(rig.prompts), 1);
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

        rig.prompts.savePaths.push_back(rig.path(QStringLiteral("export.csv")));
        emit history.counterWindow()->exportRequested();
        const QList<QByteArray> lines = rig.readFile(QStringLiteral("export.csv")).split('\n');
        QVERIFY(lines.first().startsWith("played_at,"));
        QCOMPARE(lines.size(), 4); // header, two spins, and the final line end

        rig.prompts.answers.push_back(seams::vbNo);
        emit history.counterWindow()->clearRequested();
        QCOMPARE(history.counter()->allTime().spins, qint64(2));
        rig.prompts.answers.push_back(seams::vbYes);
        emit history.counterWindow()->clearRequested();
        QCOMPARE(history.counter()->allTime().spins, qint64(0));
        playSpins(rig.machine(), 1);
        QCOMPARE(history.counter()->allTime().spins, qint64(1));
        seams::install(&rig.rnd);
    }
};

QTEST_MAIN(TestPlayHistory)
#include "test_playhistory.moc"
