// SPDX-License-Identifier: MIT
#include "app/StatsCommand.h"

#include "storage/History.h"
#include "storage/SaveDirectory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>

#include <cmath>
#include <cstdio>

namespace app {

namespace {

// The figures a person reads: the float noise of sums (2.3800000000000017)
// rounded away. Expected counts keep two decimals, dollars their cents, and
// ratios four decimals (a hundredth of a per cent).
double Rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

QJsonValue Ratio(const std::optional<double>& value)
{
    return value ? QJsonValue(Rounded(*value, 4)) : QJsonValue(QJsonValue::Null);
}

QJsonValue Time(qint64 ms)
{
    if (ms == 0)
        return QJsonValue(QJsonValue::Null);
    return QDateTime::fromMSecsSinceEpoch(ms).toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
        .toString(Qt::ISODateWithMs);
}

} // namespace

// Amounts of money are named with their unit; the other figures are counts.
QJsonObject TallyJson(const game::PlayTally& tally)
{
    return QJsonObject{
        {QStringLiteral("spins"), tally.spins},
        {QStringLiteral("jackpots"), tally.jackpots},
        {QStringLiteral("slot_chance_spins"), tally.chanceSpins},
        {QStringLiteral("slot_chance_line_ups"), tally.chanceLineUps},
        {QStringLiteral("current_run"), tally.currentRun},
        {QStringLiteral("longest_run"), tally.longestRun},
        {QStringLiteral("paid_in_dollars"), tally.paidIn},
        {QStringLiteral("paid_out_dollars"), tally.paidOut},
        {QStringLiteral("return"), Ratio(tally.returnRate())},
        {QStringLiteral("loans_dollars"), tally.loans},
        {QStringLiteral("goal_resets"), tally.goalResets},
        {QStringLiteral("expected"),
         QJsonObject{
             {QStringLiteral("jackpots"), Rounded(tally.expectedJackpots, 2)},
             {QStringLiteral("slot_chance_line_ups"), Rounded(tally.expectedChanceLineUps, 2)},
             {QStringLiteral("paid_in_dollars"), Rounded(tally.expectedPaidIn, 2)},
             {QStringLiteral("paid_out_dollars"), Rounded(tally.expectedPaidOut, 2)},
             {QStringLiteral("return"), Ratio(tally.expectedReturn())},
         }},
    };
}

int PrintStats(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString path = storage::SaveDirectory::Choose(QCoreApplication::applicationDirPath()).path()
        + storage::History::FileName();
    storage::HistorySummary summary;
    // No file yet: nothing has been played, and nothing is created.
    if (QFileInfo::exists(path)) {
        storage::History history(path);
        if (!history.summary(summary)) {
            std::fprintf(stderr, "zelmor: %s\n", qPrintable(history.takeFailure()));
            return 1;
        }
    }
    QJsonObject stats = TallyJson(summary.allTime);
    stats.insert(QStringLiteral("history"), path);
    stats.insert(QStringLiteral("sessions"), summary.sessions);
    stats.insert(QStringLiteral("first_played"), Time(summary.firstPlayedMs));
    stats.insert(QStringLiteral("last_played"), Time(summary.lastPlayedMs));
    std::fputs(QJsonDocument(stats).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}

} // namespace app
