// SPDX-License-Identifier: MIT
// The data counter window and its slump graph: the view menu opens it, it
// shows the figures of the counter it is given in the right places, keeps
// the player's choice of lines across refreshes, and the graph draws empty,
// tiny and huge lines.
#include "game/PlayTally.h"
#include "tests/support/Rig.h"
#include "ui/DataCounterWindow.h"
#include "ui/Dialogs.h"
#include "ui/Placement.h"
#include "ui/MainWindow.h"
#include "ui/SlumpGraph.h"

#include <QAction>
#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QFileDialog>
#include <QTimer>
#include <QtTest>

#include <algorithm>

using game::DataCounter;
using game::PlayKind;
using game::PlayRecord;

namespace {

const QDate Today(2026, 12, 9); // a Wednesday

qint64 At(QDate day, int minute = 0)
{
    return QDateTime(day, QTime(12, 0)).addSecs(60 * minute).toMSecsSinceEpoch();
}

PlayRecord Cover(QDate day, bool hit)
{
    PlayRecord record;
    record.kind = hit ? PlayKind::CoverHit : PlayKind::CoverMiss;
    record.playedAtMs = At(day);
    record.amount = -10;
    return record;
}

PlayRecord Spin(QDate day, qint64 win = 0, bool jackpot = false)
{
    PlayRecord record;
    record.playedAtMs = At(day, 1);
    record.bet = 2;
    record.denominator = 300;
    record.amount = win;
    record.jackpot = jackpot;
    record.symbol = win > 0 ? 0 : -1;
    return record;
}

// This session: covers for $120 (a target included), a miss and a $20,000
// jackpot; today before it: one more spin; two earlier days, one of them
// last year, with a spin each.
DataCounter PlayedCounter()
{
    DataCounter counter(Today);
    for (QDate day : {QDate(2025, 12, 31), Today.addDays(-2)})
        counter.add(Spin(day), false);
    counter.add(Spin(Today), false);
    PlayRecord target = Cover(Today, false);
    target.kind = PlayKind::Target;
    target.amount = -100;
    for (const PlayRecord& record : {Cover(Today, false), Cover(Today, true), target, Spin(Today),
                                     Spin(Today, 20000, true)})
        counter.add(record, true);
    return counter;
}

QLabel* Figure(const ui::DataCounterWindow& window, const QString& name)
{
    return window.findChild<QLabel*>(name);
}

QStringList LineNames(const ui::SlumpGraph& graph)
{
    QStringList names;
    for (const ui::GraphLine& line : graph.lines())
        names << line.name;
    return names;
}

// Whether the picture holds a pixel close to the colour below its top
// quarter, where the legend lies.
bool HasColour(const QImage& image, QColor colour)
{
    for (int y = image.height() / 4; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                    + std::abs(c.blue() - colour.blue())
                < 40)
                return true;
        }
    return false;
}

} // namespace

class TestDataCounter : public QObject {
    Q_OBJECT
private slots:
    // Qt's own file dialog, for the CSV export: in Japanese from Qt's
    // catalogue, and readable over the counter's dark style sheet.
    void exportDialogReadableAndInJapanese()
    {
        ui::installDialogRunner(nullptr); // the dialogs on the screen
        QWidget counter;
        counter.setStyleSheet(QStringLiteral("QLabel { color: #dfe5ec; }"));
        counter.show();
        QString text;
        QColor colour;
        QTimer::singleShot(0, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(window);
                if (!dialog || !dialog->isVisible())
                    continue;
                const auto* label = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"));
                text = label->text();
                colour = label->palette().color(label->foregroundRole());
                dialog->reject();
            }
        });
        QCOMPARE(ui::SaveFileName(&counter, QStringLiteral("t"), QDir::temp().filePath(QStringLiteral("x.csv")),
                                  QStringLiteral("CSV (*.csv)")),
                 QString());
        QCOMPARE(text, QStringLiteral("ファイル名(&N):"));
        QVERIFY(colour != QColor(0xdf, 0xe5, 0xec));
    }

    // The counter opens beside the machine where the screen has room; where
    // only moving the machine makes room, the machine steps aside by the
    // least it takes; otherwise the counter covers the least of it. A machine
    // of 510 x 340 with its frame; a counter of 846 x 539.
    void placedBesideTheMachine_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("machine");
        QTest::addColumn<bool>("machineMayMove");
        QTest::addColumn<QPoint>("counter");
        QTest::addColumn<QPoint>("machineAfter");
        const QRect fullHd(0, 0, 1920, 1080);
        const QRect centred(705, 370, 510, 340);
        QTest::newRow("room on the right") << QRect(0, 0, 2560, 1440) << QRect(700, 400, 510, 340) << true
                                           << QPoint(1210, 400) << QPoint(700, 400);
        QTest::newRow("room on the left only") << QRect(0, 0, 2560, 1440) << QRect(1900, 400, 510, 340) << true
                                               << QPoint(1054, 400) << QPoint(1900, 400);
        QTest::newRow("room below only") << fullHd << QRect(705, 0, 510, 340) << true << QPoint(705, 340)
                                         << QPoint(705, 0);
        QTest::newRow("centred: the machine steps left") << fullHd << centred << true << QPoint(1074, 370)
                                                         << QPoint(564, 370);
        QTest::newRow("centred on a screen offset by a panel")
            << QRect(0, 30, 1920, 1050) << QRect(705, 385, 510, 340) << true << QPoint(1074, 385)
            << QPoint(564, 385);
        QTest::newRow("room only in a column") << QRect(0, 0, 1000, 1000) << QRect(245, 330, 510, 340) << true
                                               << QPoint(154, 461) << QPoint(245, 121);
        QTest::newRow("maximized: a corner") << fullHd << centred << false << QPoint(0, 0) << QPoint(705, 370);
        QTest::newRow("a screen smaller than the counter") << QRect(0, 0, 800, 500) << QRect(0, 0, 510, 340) << true
                                                           << QPoint(0, 0) << QPoint(0, 0);
    }
    void placedBesideTheMachine()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, machine);
        QFETCH(bool, machineMayMove);
        QFETCH(QPoint, counter);
        QFETCH(QPoint, machineAfter);
        const ui::SideBySide places = ui::PlaceBesidePosition(screen, machine, QSize(846, 539), machineMayMove);
        QCOMPARE(places.window, counter);
        QCOMPARE(places.other, machineAfter);
    }

    void viewMenuItem()
    {
        testing::MachineRig rig;
        ui::MainWindow window(rig.machine, QStringLiteral(ZELMOR_ASSET_DIR "/"));
        QAction* item = window.dataCounterItem;
        QCOMPARE(item->text(), QStringLiteral("データカウンター(&D)"));
        QVERIFY(window.viewMenu->actions().contains(item));
        QSignalSpy requested(&window, &ui::MainWindow::dataCounterRequested);
        item->trigger();
        QCOMPARE(requested.count(), 1);
        // Ctrl+D opens it too, and is no click on cover D.
        window.show();
        QApplication::setActiveWindow(&window);
        QTest::keyClick(window.moneyLabel, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(requested.count(), 2);
        QVERIFY(rig.prompts.shown.empty());
        QCOMPARE(rig.s().money, 100);
    }

    void figures_data()
    {
        QTest::addColumn<bool>("played");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::newRow("session spins") << true << "sessionSpinsLabel" << "2";
        QTest::newRow("today spins") << true << "todaySpinsLabel" << "3";
        QTest::newRow("all-time spins") << true << "allTimeSpinsLabel" << "5";
        QTest::newRow("session jackpots") << true << "sessionJackpotsLabel" << "1";
        QTest::newRow("all-time dry run") << true << "allTimeLongestRunLabel" << "4";
        QTest::newRow("dry run after the jackpot") << true << "sessionCurrentRunLabel" << "0";
        QTest::newRow("session paid in") << true << "sessionPaidInLabel" << "120";
        QTest::newRow("session paid out") << true << "sessionPaidOutLabel" << "20,000";
        QTest::newRow("session return") << true << "sessionReturnLabel" << "16666.7%";
        QTest::newRow("session balance") << true << "sessionBalanceLabel" << "+19,880";
        QTest::newRow("probability") << true << "probabilityLabel" << "確率 6/300";
        QTest::newRow("nothing paid in") << false << "todayReturnLabel" << "—";
        QTest::newRow("no expected return") << false << "allTimeReturnExpectedLabel" << "期待値 —";
        QTest::newRow("no expected jackpot") << false << "sessionJackpotsExpectedLabel" << "期待 0.0";
    }
    void figures()
    {
        QFETCH(bool, played);
        QFETCH(QString, label);
        QFETCH(QString, text);
        ui::DataCounterWindow window;
        window.showCounter(played ? PlayedCounter() : DataCounter(Today), 300);
        QLabel* shown = Figure(window, label);
        QVERIFY2(shown, qPrintable(label));
        QCOMPARE(shown->text(), text);
    }

    // The expected figures come from the column's own tally.
    void expectedFigures()
    {
        const DataCounter counter = PlayedCounter();
        ui::DataCounterWindow window;
        window.showCounter(counter, 300);
        const QString jackpots = QString::number(counter.today().expectedJackpots, 'f', 1);
        QCOMPARE(Figure(window, "todayJackpotsExpectedLabel")->text(), QStringLiteral("期待 ") + jackpots);
        const QString rate = QString::number(*counter.allTime().expectedReturn() * 100, 'f', 1);
        QCOMPARE(Figure(window, "allTimeReturnExpectedLabel")->text(), QStringLiteral("期待値 %1%").arg(rate));
    }

    // Earlier days, newest first, come unticked; the player's ticks outlast
    // the refresh after the next spin.
    void lineChoices()
    {
        DataCounter counter = PlayedCounter();
        ui::DataCounterWindow window;
        window.showCounter(counter, 300);
        QStringList labels;
        QList<bool> ticked;
        for (int i = 0; i < window.lineSelector->count(); ++i) {
            labels << window.lineSelector->item(i)->text();
            ticked << (window.lineSelector->item(i)->checkState() == Qt::Checked);
        }
        QCOMPARE(labels, QStringList({"今回", "今日", "12/07 (月)", "2025-12-31"}));
        QCOMPARE(ticked, QList<bool>({true, true, false, false}));
        QCOMPARE(LineNames(*window.slumpGraph), QStringList({"今日", "今回"}));

        window.lineSelector->item(2)->setCheckState(Qt::Checked);
        window.lineSelector->item(1)->setCheckState(Qt::Unchecked);
        counter.add(Spin(Today), true);
        window.showCounter(counter, 300);
        QCOMPARE(LineNames(*window.slumpGraph), QStringList({"12/07 (月)", "今回"}));
        QCOMPARE(window.slumpGraph->lines().last().points.size(), 3);
    }

    // An earlier day's line, left out of the history's summary, is asked for
    // when ticked, and drawn once the counter has it.
    void earlierDayLineIsAskedFor()
    {
        const DataCounter played = PlayedCounter();
        DataCounter counter(Today);
        std::map<QDate, game::PlayTally> days;
        for (const auto& [day, figures] : played.days())
            days[day] = figures.tally;
        counter.setHistory(played.allTime(), days);
        counter.setDayLine(Today, *played.days().at(Today).line);
        counter.setSession(played.session(), played.sessionLine());
        ui::DataCounterWindow window;
        QSignalSpy wanted(&window, &ui::DataCounterWindow::lineWanted);
        window.showCounter(counter, 300);
        QCOMPARE(wanted.count(), 0);
        window.lineSelector->item(2)->setCheckState(Qt::Checked);
        QCOMPARE(wanted.count(), 1);
        QCOMPARE(wanted.first().first().toDate(), Today.addDays(-2));
        QCOMPARE(LineNames(*window.slumpGraph), QStringList({"今日", "今回"}));
        counter.setDayLine(Today.addDays(-2), *played.days().at(Today.addDays(-2)).line);
        window.showCounter(counter, 300);
        QCOMPARE(LineNames(*window.slumpGraph), QStringList({"12/07 (月)", "今日", "今回"}));
        QCOMPARE(wanted.count(), 1);
    }

    void buttonsAndEscape()
    {
        ui::DataCounterWindow window;
        QSignalSpy exporting(&window, &ui::DataCounterWindow::exportRequested);
        QSignalSpy clearing(&window, &ui::DataCounterWindow::clearRequested);
        window.exportButton->click();
        window.clearButton->click();
        QCOMPARE(exporting.count(), 1);
        QCOMPARE(clearing.count(), 1);
        window.show();
        QTest::keyClick(window.lineSelector, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    // Sizes double at 2x; back at 1x the open window shrinks again.
    void zoomScalesTheWindow()
    {
        ui::DataCounterWindow window;
        window.show();
        const QSize normal = window.sizeHint();
        const int normalWidth = window.width();
        window.setZoom(2.0);
        QVERIFY(window.sizeHint().width() > normal.width() * 18 / 10);
        QVERIFY(window.sizeHint().height() > normal.height() * 18 / 10);
        QVERIFY(window.width() > normalWidth * 18 / 10);
        window.setZoom(1.0);
        QCOMPARE(window.width(), normalWidth);
    }

    // A peak between two columns' worth of spins stays in the drawn points,
    // from a line of every spin and from the same line kept in blocks.
    void decimationKeepsPeaks_data()
    {
        QTest::addColumn<bool>("inBlocks");
        QTest::newRow("every spin") << false;
        QTest::newRow("in blocks") << true;
    }
    void decimationKeepsPeaks()
    {
        QFETCH(bool, inBlocks);
        QVector<game::SlumpPoint> line(100000);
        for (int i = 0; i < line.size(); ++i)
            line[i] = {i + 1, -i / 10};
        line[54321].balance = 50000;
        line[77777].balance = -90000;
        if (inBlocks) {
            game::SlumpLine kept;
            std::optional<game::SlumpBlock> block;
            for (const game::SlumpPoint& point : line) {
                if (block && block->index == game::SlumpBlock::IndexOf(point.spin)) {
                    block->add(point, false);
                    continue;
                }
                if (block)
                    block->appendTo(kept);
                block = game::SlumpBlock::Starting(point, false);
            }
            block->appendTo(kept);
            QVERIFY(kept.points.size() < line.size() / 4);
            line = kept.points;
        }
        const QPolygonF points = ui::DecimatedLine(line, 200);
        QVERIFY(points.size() <= 4 * (100000 / 200 + 1));
        QCOMPARE(points.first(), QPointF(0, 0));
        QCOMPARE(points.last(), QPointF(100000, -9999));
        auto has = [&points](QPointF p) { return std::find(points.begin(), points.end(), p) != points.end(); };
        QVERIFY(has(QPointF(54322, 50000)));
        QVERIFY(has(QPointF(77778, -90000)));
    }

    void graphRenders_data()
    {
        QTest::addColumn<int>("spins");
        QTest::addColumn<double>("zoom");
        QTest::newRow("empty") << 0 << 1.0;
        QTest::newRow("one spin") << 1 << 1.0;
        QTest::newRow("one spin, zoomed") << 1 << 2.0;
        QTest::newRow("100,000 spins") << 100000 << 1.0;
    }
    void graphRenders()
    {
        QFETCH(int, spins);
        QFETCH(double, zoom);
        ui::GraphLine line{QStringLiteral("今回"), QColor(0, 255, 255), true, spins, {}, {}};
        for (int i = 0; i < spins; ++i)
            line.points.append({i + 1, (i % 1000) * 7 - 3000});
        if (spins > 0)
            line.marks << line.points.last();
        ui::SlumpGraph graph;
        graph.setZoom(zoom);
        graph.resize(graph.sizeHint());
        graph.setLines({line});
        const QImage image = graph.grab().toImage();
        QCOMPARE(image.size(), graph.sizeHint() * image.devicePixelRatio());
        QCOMPARE(HasColour(image, line.colour), spins > 0);
    }
};

QTEST_MAIN(TestDataCounter)
#include "test_datacounter.moc"
