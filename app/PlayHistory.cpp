// SPDX-License-Identifier: MIT
#include "app/PlayHistory.h"

#include "ui/DataCounterWindow.h"
#include "ui/Placement.h"
#include "ui/HistoryMessages.h"
#include "ui/MainWindow.h"

#include <QDateTime>

namespace app {

namespace {

qint64 Now() { return QDateTime::currentMSecsSinceEpoch(); }

} // namespace

PlayHistory::PlayHistory(game::Machine& machine, ui::MainWindow& window, QObject* parent)
    : QObject(parent)
    , machine_(machine)
    , recorder_(machine)
    , window_(window)
    , sessionStartMs_(Now())
{
    connect(&recorder_, &game::PlayRecorder::played, this, &PlayHistory::record);
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
    sessionCounter_.add(record, true);
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
        this, [reason] { ui::TellHistory(ui::HistoryNews::Unusable, reason); }, Qt::QueuedConnection);
}

// The file's summaries hold every entry, this session's included; the
// session's own figures come from memory. Without the file, the session is
// all the counter has.
void PlayHistory::rebuildCounter()
{
    const QDate today = QDate::currentDate();
    counter_.emplace(today);
    if (history_ && history_->readCounter(*counter_)) {
        counter_->setSession(sessionCounter_.session(), sessionCounter_.sessionLine());
        return;
    }
    reportFailure();
    counter_ = sessionCounter_;
    counter_->setTodayDate(today);
}

// A history that cannot be read gives the day an empty line, so that the
// window does not ask again.
void PlayHistory::readDayLine(QDate day)
{
    if (!counter_)
        return;
    game::SlumpLine line;
    if (history_ && !history_->dayLine(day, line))
        reportFailure();
    counter_->setDayLine(day, std::move(line));
    showCounter();
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
        counterWindow_->setZoom(window_.chosenZoom());
        connect(&window_, &ui::MainWindow::zoomChosen, counterWindow_.data(), &ui::DataCounterWindow::setZoom);
        connect(counterWindow_.data(), &ui::DataCounterWindow::exportRequested, this, &PlayHistory::exportCsv);
        connect(counterWindow_.data(), &ui::DataCounterWindow::clearRequested, this, &PlayHistory::clear);
        connect(counterWindow_.data(), &ui::DataCounterWindow::lineWanted, this, &PlayHistory::readDayLine);
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
        ui::TellHistory(ui::HistoryNews::CannotExport);
        return;
    }
    QWidget* over = counterWindow_ ? static_cast<QWidget*>(counterWindow_.data()) : &window_;
    const QString path = ui::AskExportPath(over);
    if (path.isEmpty())
        return;
    QString error;
    if (history_->exportCsv(path, error)) {
        ui::TellHistory(ui::HistoryNews::Exported, path);
        return;
    }
    history_->takeFailure(); // told here, with the export
    ui::TellHistory(ui::HistoryNews::ExportFailed, error);
}

void PlayHistory::clear()
{
    if (!history_ || history_->broken()) {
        ui::TellHistory(ui::HistoryNews::CannotClear);
        return;
    }
    if (!ui::ConfirmClearing())
        return;
    QString error;
    if (!history_->clear(error)) {
        history_->takeFailure(); // told here, with the clearing
        ui::TellHistory(ui::HistoryNews::ClearFailed, error);
        return;
    }
    sessionCounter_ = game::DataCounter();
    rebuildCounter();
    showCounter();
}

} // namespace app
