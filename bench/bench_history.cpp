// SPDX-License-Identifier: MIT
// What the play history costs the game at the length auto play brings it
// to, in a temporary directory on the disk beside this program (not a RAM
// disk), through the module as the game loads it:
//
//   bench_history [entries] [spins] [runs]   (defaults 100000, 20000 and 9)
//
// 1. The first entry of a run on a new file: loading the module, opening and
//    creating the file, beginning the session. A module loads once per
//    process, so each run is a fresh process of this program; the median.
// 2. A history of `entries` entries, 2 a second as auto play makes them,
//    written straight into a file of the format before the summaries and
//    the codes by the store's own row code, in one transaction (untimed);
//    then the first open through the module, which rewrites the entries
//    with the codes and builds the summaries from them once, as it does for
//    every file of that format (timed).
// 3. Opening the data counter on it, with today the history's last day, a
//    whole day of auto play: in a fresh process, as the first thing of a run
//    (the module, the file, the figures and today's line), the median of
//    `runs`; then in this process, the file's pages dropped from the page
//    cache first, and again with them cached. Also a short day's line, read
//    with every spin (the history's first day), and the window built, given
//    those figures with a session as long as the day, and painted.
// 4. Every entry of a session of `spins` spins added to that history, one
//    record() at a time, the cover clicks, targets and loans between the
//    spins included: back to back, then 2,000 spins more with the entries
//    5 ms apart, which gives the log's checkpoints time to finish.
// 5. The file's size, its pages in use per entry and per spin, and whether
//    the figures the counter opens on agree with those counted while the
//    entries were made.
#include "BenchSupport.h"
#include "game/PlayTally.h"
#include "storage/History.h"
#include "storage/sqlite/PlayRows.h"
#include "ui/DataCounterWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStorageInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <thread>
#include <unistd.h>

namespace {

using game::NoticeLamps;
using game::PlayKind;
using game::PlayRecord;
using game::ReachAction;
using storage::History;
using Clock = std::chrono::steady_clock;

const QString Module = QStringLiteral(ZELMOR_HISTORY_MODULE_PATH);
constexpr int PacedSpins = 2'000;
constexpr qint64 EntryGapMs = 500;        // auto play: about 1,400 spins an hour
constexpr qint64 FirstDayEntries = 12'000; // the first day: a long evening of it, under 5,000 spins
constexpr qint64 EntriesPerSession = 50'000;

// Midnight after the first day, far enough back that the history, however
// long, ends before now.
qint64 FirstMidnightMs()
{
    return QDateTime(QDate(2024, 1, 1), QTime(0, 0)).toMSecsSinceEpoch();
}

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The entries of auto play: a few cover clicks before most spins, a jackpot
// spin in 50 with its reach action, a target now and then, a loan when the
// money runs out.
class Player {
public:
    explicit Player(std::uint64_t seed, qint64 startMs) : random_(seed), now_(startMs) {}

    PlayRecord next()
    {
        now_ += EntryGapMs;
        if (money_ < 10)
            return money(PlayKind::Loan, 1000);
        if (random_.next() < 0.002 && money_ >= 100) {
            target_ = 1 + int(random_.next() * 9);
            PlayRecord bought = money(PlayKind::Target, -100);
            bought.targetSymbol = target_;
            return bought;
        }
        if (pendingCovers_ > 0) {
            --pendingCovers_;
            ++bet_;
            return money(random_.next() < 0.25 ? PlayKind::CoverHit : PlayKind::CoverMiss, -10);
        }
        pendingCovers_ = int(random_.next() * 4);
        return spin();
    }

private:
    PlayRecord money(PlayKind kind, qint64 amount)
    {
        money_ += amount;
        return {.kind = kind, .playedAtMs = now_, .amount = amount, .moneyAfter = money_};
    }

    PlayRecord spin()
    {
        PlayRecord spin{.playedAtMs = now_, .bet = std::max(1, bet_), .denominator = 300};
        spin.jackpot = random_.next() < 6.0 / 300;
        spin.reach = spin.jackpot ? ReachAction(2 + int(random_.next() * 6))
                                  : (random_.next() < 0.1 ? ReachAction::Missed : ReachAction::None);
        spin.noticeLamps = random_.next() < 0.05 ? NoticeLamps::Normal : NoticeLamps::None;
        spin.noticeSound = random_.next() < 0.03;
        spin.targetSymbol = target_;
        spin.targetRate = target_ ? 100 : 1;
        if (spin.jackpot) {
            spin.symbol = int(random_.next() * 10);
            spin.amount = qint64(spin.bet) * 100 * (spin.symbol == target_ ? 100 : 1);
            target_ = 0;
        }
        money_ += spin.amount;
        spin.moneyAfter = money_;
        bet_ = 0;
        return spin;
    }

    bench::SeededRandom random_;
    qint64 now_;
    qint64 money_ = 100;
    int bet_ = 0;
    int pendingCovers_ = 0;
    int target_ = 0;
};

void Row(const QString& label, double value, int decimals)
{
    std::printf("%-64s %10.*f\n", qPrintable(label), decimals, value);
}

double Percentile(const std::vector<double>& sorted, double fraction)
{
    return sorted[std::min(sorted.size() - 1, std::size_t(double(sorted.size()) * fraction))];
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The process's resident memory, in KiB.
qint64 ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// The file's pages out of the page cache, as after a restart of the machine;
// written back first, since dirty pages stay.
void DropFromPageCache(const QString& path)
{
    for (const QString& file : {path, path + QStringLiteral("-wal")}) {
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
        if (fd < 0)
            continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// One fresh process's first entry: prints its milliseconds and the resident
// memory it added (the module, Qt SQL, SQLite and the open file).
int FirstEntry(const QString& path)
{
    const qint64 residentBefore = ResidentKiB();
    const auto start = Clock::now();
    History history(path, Module);
    history.setSessionStart(FirstMidnightMs());
    if (!history.record(Player(1, FirstMidnightMs()).next())) {
        std::fprintf(stderr, "%s\n", qPrintable(history.takeFailure()));
        return 1;
    }
    std::printf("%.3f %lld\n", MsSince(start), ResidentKiB() - residentBefore);
    return 0;
}

// One fresh process's opening of the data counter, its first use of the
// history in the run: prints its milliseconds.
int OpenCounter(const QString& path, QDate today)
{
    const auto start = Clock::now();
    History history(path, Module);
    game::DataCounter counter(today);
    if (!history.readCounter(counter)) {
        std::fprintf(stderr, "%s\n", qPrintable(history.takeFailure()));
        return 1;
    }
    std::printf("%.3f 0\n", MsSince(start));
    return 0;
}

// The medians of the two figures a child mode prints, over fresh processes;
// a negative time when one failed.
std::pair<double, double> InFreshProcesses(const QStringList& arguments, int runs)
{
    std::vector<double> times, second;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        QStringList args = arguments;
        args.replaceInStrings(QStringLiteral("%run"), QString::number(run));
        child.start(QCoreApplication::applicationFilePath(), args);
        if (!child.waitForFinished(600000) || child.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", run + 1, child.readAllStandardError().constData());
            return {-1, 0};
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        times.push_back(figures.value(0).toDouble());
        second.push_back(figures.value(1).toDouble());
    }
    return {Median(times), Median(second)};
}

// Writes `entries` entries into a new file of the format before the
// summaries and the codes, through the store's own row code, in one
// transaction; counts them into `counted` and returns the spins among them.
qint64 WriteOlderHistory(const QString& path, Player& player, qint64 entries, game::PlayTally& counted)
{
    qint64 spins = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-writer"));
        db.setDatabaseName(path);
        if (!db.open())
            return -1;
        QSqlQuery run(db);
        QSqlQuery insert(db);
        bool written = run.exec(QStringLiteral("PRAGMA synchronous = OFF")) && run.exec(QStringLiteral("BEGIN"));
        for (const QString& table : storage::PlayTables())
            written = written && run.exec(table);
        written = written && insert.prepare(storage::InsertPlay);
        qint64 session = 0;
        for (qint64 i = 0; written && i < entries; ++i) {
            const PlayRecord record = player.next();
            if (i % EntriesPerSession == 0) {
                written = run.exec(
                    QStringLiteral("INSERT INTO sessions (started_at) VALUES (%1)").arg(record.playedAtMs));
                session = run.lastInsertId().toLongLong();
            }
            storage::BindPlay(insert, record, session);
            written = written && insert.exec();
            counted.add(record);
            spins += record.kind == PlayKind::Spin;
        }
        for (const QString& statement : storage::SpellOutPlays())
            written = written && run.exec(statement);
        written = written && run.exec(QStringLiteral("PRAGMA user_version = 1")) && run.exec(QStringLiteral("COMMIT"));
        if (!written)
            spins = -1;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-writer"));
    return spins;
}

// The bytes of the file's free pages.
double FreeBytes(const QString& path)
{
    double bytes = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-pages"));
        db.setDatabaseName(path);
        QSqlQuery pages(db);
        if (db.open() && pages.exec(QStringLiteral("SELECT freelist_count * page_size FROM pragma_freelist_count, "
                                                   "pragma_page_size")) && pages.next())
            bytes = pages.value(0).toDouble();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-pages"));
    return bytes;
}

// Records entries until `spins` spins are in: the time of each record().
// With `pause`, the entries come that far apart, as in play, where the
// next click is hundreds of milliseconds away at the very least.
std::vector<double> RecordSession(History& history, Player& player, int spins, game::PlayTally& counted,
                                  std::chrono::milliseconds pause = std::chrono::milliseconds(0))
{
    std::vector<double> times;
    for (int done = 0; done < spins;) {
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause);
        const PlayRecord record = player.next();
        const auto start = Clock::now();
        if (!history.record(record))
            return {};
        times.push_back(MsSince(start));
        counted.add(record);
        done += record.kind == PlayKind::Spin;
    }
    std::sort(times.begin(), times.end());
    return times;
}

// The median and largest time of `runs` calls of `measure`, each after
// `before`.
std::pair<double, double> Timed(int runs, const std::function<bool()>& measure,
                                const std::function<void()>& before = [] {})
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        before();
        const auto start = Clock::now();
        if (!measure())
            return {-1, -1};
        times.push_back(MsSince(start));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// The window on the counter's figures, as on its first opening.
bool ShowCounterWindow(const game::DataCounter& counter)
{
    ui::DataCounterWindow window;
    window.showCounter(counter, 300);
    window.adjustSize();
    window.show();
    return !window.grab().isNull();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("--first"))
        return FirstEntry(args.value(2));
    if (args.value(1) == QStringLiteral("--counter"))
        return OpenCounter(args.value(2), QDate::fromString(args.value(3), Qt::ISODate));
    const qint64 entries = args.size() > 1 ? std::max(1LL, args[1].toLongLong()) : 100'000;
    const int spins = args.size() > 2 ? std::max(1, args[2].toInt()) : 20'000;
    const int runs = args.size() > 3 ? std::max(1, args[3].toInt()) : 9;

    QTemporaryDir dir(app.applicationDirPath() + QStringLiteral("/history-XXXXXX"));
    if (!dir.isValid())
        return 1;
    const QString path = dir.filePath(History::FileName());
    std::printf("history in %s (%s)\n", qPrintable(dir.path()), QStorageInfo(dir.path()).fileSystemType().constData());

    // 1. The first entry on a new file.
    const auto [firstMs, firstMiB] =
        InFreshProcesses({QStringLiteral("--first"), dir.filePath(QStringLiteral("first-%run.sqlite"))}, runs);
    if (firstMs < 0)
        return 1;

    // 2. The long history, and its summaries built once.
    Player player(20240501, FirstMidnightMs() - FirstDayEntries * EntryGapMs);
    game::PlayTally counted;
    const auto building = Clock::now();
    qint64 historySpins = WriteOlderHistory(path, player, entries, counted);
    if (historySpins < 0)
        return 1;
    std::printf("%lld entries (%lld spins) written in %.1f s\n", entries, historySpins, MsSince(building) / 1000);
    const QDate firstDay = QDateTime::fromMSecsSinceEpoch(FirstMidnightMs() - 1).date();
    const qint64 lastEntryMs = FirstMidnightMs() + (entries - FirstDayEntries) * EntryGapMs;
    const QDate lastDay = QDateTime::fromMSecsSinceEpoch(lastEntryMs).date();
    std::printf("days %s to %s\n", qPrintable(firstDay.toString(Qt::ISODate)),
                qPrintable(lastDay.toString(Qt::ISODate)));
    storage::HistorySummary summary;
    const auto migration = Timed(1, [&] {
        History history(path, Module);
        return history.summary(summary);
    });
    const bool builtAgrees = summary.allTime == counted;

    // 3. The data counter.
    const double freshCounter =
        InFreshProcesses({QStringLiteral("--counter"), path, lastDay.toString(Qt::ISODate)}, runs).first;
    qint64 todaySpins = 0, todayPoints = 0;
    auto openCounter = [&] {
        History history(path, Module);
        game::DataCounter counter(lastDay);
        const bool read = history.readCounter(counter);
        todaySpins = counter.today().spins;
        todayPoints = read ? counter.days().at(lastDay).line->points.size() : 0;
        return read;
    };
    const auto coldCounter = Timed(runs, openCounter, [&] { DropFromPageCache(path); });
    const auto warmCounter = Timed(runs, openCounter);
    game::DataCounter shown(lastDay);
    History(path, Module).readCounter(shown);
    game::SlumpLine sessionLine;
    for (Player session(7, lastEntryMs); sessionLine.spins() < todaySpins;)
        sessionLine.add(session.next());
    shown.setSession(shown.today(), sessionLine);
    const auto counterWindow = Timed(runs, [&] { return ShowCounterWindow(shown); });
    std::pair<double, double> summaryAlone, todayLine, shortLine;
    qint64 shortSpins = 0;
    {
        History reader(path, Module);
        summaryAlone = Timed(runs, [&] { return reader.summary(summary); });
        game::SlumpLine line;
        todayLine = Timed(runs, [&] { return reader.dayLine(lastDay, line); });
        shortLine = Timed(runs, [&] { return reader.dayLine(firstDay, line); });
        shortSpins = line.spins();
    }

    // 4. Entries added to it; the store closed after them, which folds its
    // log into the file.
    std::vector<double> times, paced;
    bool agrees = false;
    {
        History history(path, Module);
        history.setSessionStart(FirstMidnightMs());
        times = RecordSession(history, player, spins, counted);
        paced = RecordSession(history, player, PacedSpins, counted, std::chrono::milliseconds(5));
        if (times.empty() || paced.empty()) {
            std::fprintf(stderr, "%s\n", qPrintable(history.takeFailure()));
            return 1;
        }
        history.endSession(FirstMidnightMs());
        agrees = history.summary(summary) && summary.allTime == counted;
    }
    historySpins += spins + PacedSpins;

    // 5. The file. The older file's entries, rewritten with the codes, leave
    // their pages free in it for the entries to come: what the history takes
    // is the pages in use.
    const double bytes = double(QFileInfo(path).size());
    const double freeBytes = FreeBytes(path);
    const qint64 allEntries = entries + qint64(times.size() + paced.size());

    std::printf("\n%-64s %10s\n", "play history", "ms");
    Row("first entry on a new file (module load, open, create), median", firstMs, 2);
    Row("  memory it adds (MiB, resident), median", firstMiB / 1024, 1);
    Row(QStringLiteral("summaries built for an older file of %1 entries, once").arg(entries), migration.first, 1);
    Row("data counter opened, fresh process (module, file, figures, today)", freshCounter, 1);
    Row("  in this process, the file out of the page cache: median", coldCounter.first, 1);
    Row("    maximum", coldCounter.second, 1);
    Row("  the file cached: median", warmCounter.first, 1);
    Row("    maximum", warmCounter.second, 1);
    Row("  of which the figures of all time and every day, median", summaryAlone.first, 2);
    Row(QStringLiteral("  and today's line, %1 spins in %2 points, median").arg(todaySpins).arg(todayPoints),
        todayLine.first, 2);
    Row(QStringLiteral("a short day's line, every one of its %1 spins, median").arg(shortSpins), shortLine.first, 2);
    Row("the window built, given them and painted, median", counterWindow.first, 1);
    Row(QStringLiteral("record(), each of %1 entries (%2 spins): median").arg(times.size()).arg(spins),
        Percentile(times, 0.5), 4);
    Row("  99th percentile", Percentile(times, 0.99), 4);
    Row("  99.9th percentile", Percentile(times, 0.999), 4);
    Row("  maximum", times.back(), 4);
    Row(QStringLiteral("the same, %1 entries 5 ms apart: median").arg(paced.size()), Percentile(paced, 0.5), 4);
    Row("  99th percentile", Percentile(paced, 0.99), 4);
    Row("  99.9th percentile", Percentile(paced, 0.999), 4);
    Row("  maximum", paced.back(), 4);
    Row("file size, closed (MiB)", bytes / (1 << 20), 1);
    Row("  of which free pages, left by the rewrite of the older file (MiB)", freeBytes / (1 << 20), 1);
    Row(QStringLiteral("  bytes in use per entry (%1 entries)").arg(allEntries), (bytes - freeBytes) / double(allEntries),
        1);
    Row(QStringLiteral("  bytes in use per spin (%1 spins)").arg(historySpins), (bytes - freeBytes) / double(historySpins),
        1);
    std::printf("figures agree with the entries' own count: %s on building, %s at the end\n",
                builtAgrees ? "yes" : "NO", agrees ? "yes" : "NO");
    return builtAgrees && agrees ? 0 : 1;
}
