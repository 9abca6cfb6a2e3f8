// SPDX-License-Identifier: MIT
// What the play history costs the game, in a temporary directory on the disk
// beside this program (not a RAM disk), through the module as the game loads
// it:
//
//   bench_history [spins] [runs]   (defaults 20000 and 9)
//
// 1. The first entry of a run: loading the module, opening and creating the
//    file, beginning the session. A module loads once per process, so each
//    run is a fresh process of this program; the median is printed.
// 2. Every entry of a session of `spins` spins, one record() at a time, the
//    cover clicks, targets and loans between the spins included: median,
//    99th and 99.9th percentile and maximum; written back to back, then
//    2,000 spins more with the entries 5 ms apart, as play spaces them (far
//    more in fact), which gives the log's checkpoints time to finish.
// 3. Reading back a history of 100,000 entries, as the data counter does on
//    opening: with a fresh store (open and read), then again, and again
//    feeding every entry to the counter's tallies.
#include "BenchSupport.h"
#include "game/PlayTally.h"
#include "storage/History.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace {

using game::NoticeLamps;
using game::PlayKind;
using game::PlayRecord;
using game::ReachAction;
using storage::History;
using Clock = std::chrono::steady_clock;

const QString Module = QStringLiteral(ZELMOR_HISTORY_MODULE_PATH);
constexpr qint64 StartMs = 1'700'000'000'000;
constexpr int ScannedEntries = 100'000;
constexpr int PacedSpins = 2'000;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The entries of a plausible session: a few cover clicks before most spins,
// a jackpot spin in 50 with its reach action, a target now and then, a loan
// when the money runs out.
class Player {
public:
    explicit Player(std::uint64_t seed) : random_(seed) {}

    PlayRecord next()
    {
        now_ += 700;
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
        return {.kind = kind, .playedAtMs = StartMs + now_, .amount = amount, .moneyAfter = money_};
    }

    PlayRecord spin()
    {
        PlayRecord spin{.playedAtMs = StartMs + now_, .bet = std::max(1, bet_), .denominator = 300};
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
    qint64 now_ = 0;
    qint64 money_ = 100;
    int bet_ = 0;
    int pendingCovers_ = 0;
    int target_ = 0;
};

void Row(const QString& label, double value, int decimals)
{
    std::printf("%-60s %10.*f\n", qPrintable(label), decimals, value);
}

double Percentile(const std::vector<double>& sorted, double fraction)
{
    return sorted[std::min(sorted.size() - 1, std::size_t(double(sorted.size()) * fraction))];
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

// One fresh process's first entry: prints its milliseconds and the resident
// memory it added (the module, Qt SQL, SQLite and the open file).
int FirstEntry(const QString& path)
{
    const qint64 residentBefore = ResidentKiB();
    const auto start = Clock::now();
    History history(path, Module);
    history.setSessionStart(StartMs);
    if (!history.record(Player(1).next())) {
        std::fprintf(stderr, "%s\n", qPrintable(history.takeFailure()));
        return 1;
    }
    const double ms = MsSince(start);
    std::printf("%.3f %lld\n", ms, ResidentKiB() - residentBefore);
    return 0;
}

// The medians of the first entry's time and memory over fresh processes.
struct FirstEntryCost {
    double ms = -1;
    double mib = 0;
};

FirstEntryCost MedianFirstEntry(const QString& program, const QString& dir, int runs)
{
    std::vector<double> times, memory;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.start(program, {QStringLiteral("--first"), dir + QStringLiteral("/first-%1.sqlite").arg(run)});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", run + 1, child.readAllStandardError().constData());
            return {};
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        times.push_back(figures.value(0).toDouble());
        memory.push_back(figures.value(1).toDouble() / 1024);
    }
    std::sort(times.begin(), times.end());
    std::sort(memory.begin(), memory.end());
    return {times[times.size() / 2], memory[memory.size() / 2]};
}

// Records entries until `spins` spins are in: the time of each record().
// With `pause`, the entries come that far apart, as in play, where the
// next click is hundreds of milliseconds away at the very least.
std::vector<double> RecordSession(History& history, Player& player, int spins,
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
        done += record.kind == PlayKind::Spin;
    }
    return times;
}

// The time of reading the whole history, each entry handed to `use`.
double TimeScan(History& history, qint64& entries, const std::function<void(const PlayRecord&, qint64)>& use)
{
    entries = 0;
    const auto start = Clock::now();
    history.scan([&](const PlayRecord& record, qint64 session) {
        ++entries;
        use(record, session);
    });
    return MsSince(start);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("--first"))
        return FirstEntry(args.value(2));
    const int spins = args.size() > 1 ? std::max(1, args[1].toInt()) : 20'000;
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 9;

    QTemporaryDir dir(app.applicationDirPath() + QStringLiteral("/history-XXXXXX"));
    if (!dir.isValid())
        return 1;
    const QString path = dir.filePath(History::FileName());
    std::printf("history in %s (%s)\n", qPrintable(dir.path()),
                QStorageInfo(dir.path()).fileSystemType().constData());

    const FirstEntryCost first = MedianFirstEntry(app.applicationFilePath(), dir.path(), runs);
    if (first.ms < 0)
        return 1;

    History history(path, Module);
    history.setSessionStart(StartMs);
    Player player(20240501);
    std::vector<double> times = RecordSession(history, player, spins);
    if (times.empty()) {
        std::fprintf(stderr, "%s\n", qPrintable(history.takeFailure()));
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::vector<double> paced = RecordSession(history, player, PacedSpins, std::chrono::milliseconds(5));
    std::sort(paced.begin(), paced.end());

    // The rest of a long history, untimed.
    qint64 entries = 0;
    TimeScan(history, entries, [](const PlayRecord&, qint64) {});
    while (entries < ScannedEntries && history.record(player.next()))
        ++entries;
    history.endSession(StartMs);

    History reader(path, Module);
    const double coldScan = TimeScan(reader, entries, [](const PlayRecord&, qint64) {});
    const double warmScan = TimeScan(reader, entries, [](const PlayRecord&, qint64) {});
    game::DataCounter counter;
    const double tallied = TimeScan(reader, entries, [&](const PlayRecord& record, qint64 session) {
        counter.add(record, session == reader.currentSession());
    });

    std::printf("\n%-60s %10s\n", "play history", "ms");
    Row("first entry (module load, open, create), median", first.ms, 2);
    Row("  memory it adds (MiB, resident), median", first.mib, 1);
    Row(QStringLiteral("record(), each of %1 entries (%2 spins): median").arg(times.size()).arg(spins),
        Percentile(times, 0.5), 4);
    Row("  99th percentile", Percentile(times, 0.99), 4);
    Row("  99.9th percentile", Percentile(times, 0.999), 4);
    Row("  maximum", times.back(), 4);
    Row(QStringLiteral("the same, %1 entries 5 ms apart: median").arg(paced.size()), Percentile(paced, 0.5), 4);
    Row("  99th percentile", Percentile(paced, 0.99), 4);
    Row("  99.9th percentile", Percentile(paced, 0.999), 4);
    Row("  maximum", paced.back(), 4);
    Row(QStringLiteral("scan of %1 entries, fresh store (open + read)").arg(entries), coldScan, 1);
    Row("  again", warmScan, 1);
    Row("  again, into the data counter's tallies", tallied, 1);
    Row("file size (MiB)", double(QFileInfo(path).size()) / (1 << 20), 1);
    return 0;
}
