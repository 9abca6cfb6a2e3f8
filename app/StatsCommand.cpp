// SPDX-License-Identifier: MIT
#include "app/StatsCommand.h"

#include "storage/History.h"
#include "storage/SaveDirectory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

namespace app {

namespace {

QJsonValue OrNull(const std::optional<double>& value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue Time(qint64 ms)
{
    if (ms == 0)
        return QJsonValue(QJsonValue::Null);
    return QDateTime::fromMSecsSinceEpoch(ms).toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
        .toString(Qt::ISODateWithMs);
}

} // namespace

QJsonObject TallyJson(const game::PlayTally& tally)
{
    return QJsonObject{
        {QStringLiteral("spins"), tally.spins},
        {QStringLiteral("jackpots"), tally.jackpots},
        {QStringLiteral("slot_chance_spins"), tally.chanceSpins},
        {QStringLiteral("slot_chance_line_ups"), tally.chanceLineUps},
        {QStringLiteral("current_run"), tally.currentRun},
        {QStringLiteral("longest_run"), tally.longestRun},
        {QStringLiteral("paid_in"), tally.paidIn},
        {QStringLiteral("paid_out"), tally.paidOut},
        {QStringLiteral("return"), OrNull(tally.returnRate())},
        {QStringLiteral("loans"), tally.loans},
        {QStringLiteral("goal_resets"), tally.goalResets},
        {QStringLiteral("expected"),
         QJsonObject{
             {QStringLiteral("jackpots"), tally.expectedJackpots},
             {QStringLiteral("slot_chance_line_ups"), tally.expectedChanceLineUps},
             {QStringLiteral("paid_in"), tally.expectedPaidIn},
             {QStringLiteral("paid_out"), tally.expectedPaidOut},
             {QStringLiteral("return"), OrNull(tally.expectedReturn())},
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
