// SPDX-License-Identifier: MIT
#include "app/PlayHistory.h"

#include "platform/Seams.h"
#include "ui/DataCounterWindow.h"
#include "ui/Fonts.h"
#include "ui/MainWindow.h"

#include <QDateTime>
#include <QDir>

namespace app {

namespace {

const QString Title = QStringLiteral("ゼルモア");

qint64 Now() { return QDateTime::currentMSecsSinceEpoch(); }

} // namespace

PlayHistory::PlayHistory(game::Machine& machine, ui::MainWindow& window, QObject* parent)
    : QObject(parent)
    , machine_(machine)
    , window_(window)
    , sessionStartMs_(Now())
{
    connect(&machine_, &game::Machine::played, this, &PlayHistory::record);
    connect(&window_, &ui::MainWindow::dataCounterRequested, this, &PlayHistory::openCounter);
}

PlayHistory::~PlayHistory() = default;

void PlayHistory::setDirectory(const QString& saveDirectory)
{
    history_ = std::make_unique<storage::History>(saveDirectory + storage::History::FileName());
    history_->setSessionStart(sessionStartMs_);
}

void PlayHistory::end()
{
    if (history_)
        history_->endSession(Now());
}

void PlayHistory::record(game::PlayRecord record)
{
    record.playedAtMs = Now();
    sessionEntries_.push_back(record);
    if (history_ && !history_->record(record))
        reportFailure();
    if (counter_) {
        // Past midnight the counter starts a new day, as a hall's does.
        if (counter_->todayDate() != QDate::currentDate())
            rebuildCounter();
        else
            counter_->add(record, true);
        showCounter();
    }
}

// The message waits until the machine has finished the event that recorded
// the entry, so that it never opens in the middle of a rule.
void PlayHistory::reportFailure()
{
    if (!history_)
        return;
    const QString reason = history_->takeFailure();
    if (reason.isEmpty())
        return;
    QMetaObject::invokeMethod(
        this,
        [reason] {
            MsgBox(QStringLiteral("プレイ履歴（history.sqlite）を使えません。\r\n"
                                  "履歴は記録されませんが、ゲームはこのまま続けられます。\r\n"
                                  "保存ファイルには影響ありません。\r\n\r\n")
                       + reason,
                   seams::vbExclamation, Title);
        },
        Qt::QueuedConnection);
}

void PlayHistory::rebuildCounter()
{
    counter_.emplace(QDate::currentDate());
    if (history_) {
        // Entries of earlier sessions come from the file; this session's from
        // memory, where they are complete even if the file broke on the way.
        const qint64 thisSession = history_->currentSession();
        history_->scan([this, thisSession](const game::PlayRecord& record, qint64 session) {
            if (thisSession == 0 || session != thisSession)
                counter_->add(record, false);
        });
        reportFailure();
    }
    for (const game::PlayRecord& record : sessionEntries_)
        counter_->add(record, true);
}

void PlayHistory::showCounter()
{
    if (counterWindow_ && counter_)
        counterWindow_->showCounter(*counter_, machine_.state().denominator);
}

void PlayHistory::openCounter()
{
    if (!counter_ || counter_->todayDate() != QDate::currentDate())
        rebuildCounter();
    if (!counterWindow_) {
        counterWindow_ = new ui::DataCounterWindow(&window_);
        counterWindow_->setZoom(window_.zoom());
        connect(&window_, &ui::MainWindow::zoomChosen, counterWindow_.data(), &ui::DataCounterWindow::setZoom);
        connect(counterWindow_.data(), &ui::DataCounterWindow::exportRequested, this, &PlayHistory::exportCsv);
        connect(counterWindow_.data(), &ui::DataCounterWindow::clearRequested, this, &PlayHistory::clear);
        counterWindow_->adjustSize();
        ui::PlaceBeside(*counterWindow_, window_);
    }
    showCounter();
    counterWindow_->show();
    counterWindow_->raise();
    counterWindow_->activateWindow();
}

void PlayHistory::exportCsv()
{
    if (!history_ || history_->broken()) {
        MsgBox(QStringLiteral("プレイ履歴ファイルが使えないため、書き出せません。"), seams::vbExclamation, Title);
        return;
    }
    const QString suggested = QDir::home().filePath(
        QStringLiteral("zelmor-history-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate)));
    const QString path = SaveFileName(QStringLiteral("プレイ履歴を CSV に書き出す"), suggested,
                                      QStringLiteral("CSV ファイル (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (history_->exportCsv(path, error)) {
        MsgBox(QStringLiteral("プレイ履歴を書き出しました。\r\n") + path, seams::vbInformation, Title);
        return;
    }
    history_->takeFailure(); // told here, with the export
    MsgBox(QStringLiteral("プレイ履歴を書き出せませんでした。\r\n") + error, seams::vbExclamation, Title);
}

void PlayHistory::clear()
{
    if (!history_ || history_->broken()) {
        MsgBox(QStringLiteral("プレイ履歴ファイルが使えないため、消去できません。"), seams::vbExclamation, Title);
        return;
    }
    const int answer = MsgBox(QStringLiteral("プレイ履歴をすべて消去します。\r\n"
                                             "データカウンターの数字とスランプグラフも 0 に戻ります。\r\n"
                                             "よろしいですか？"),
                              seams::vbYesNo | seams::vbExclamation, Title);
    if (answer != seams::vbYes)
        return;
    QString error;
    if (!history_->clear(error)) {
        history_->takeFailure(); // told here, with the clearing
        MsgBox(QStringLiteral("プレイ履歴を消去できませんでした。\r\n") + error, seams::vbExclamation, Title);
        return;
    }
    sessionEntries_.clear();
    rebuildCounter();
    showCounter();
}

} // namespace app
