// SPDX-License-Identifier: MIT
// The play history as the session keeps it: every entry of play the
// recorder makes of the machine's events is stamped and written to
// history.sqlite beside the save files, and the data counter window shows
// the figures, live while it is open. What the player is told or asked about
// the history, ui/HistoryMessages words and shows.
#pragma once

#include "game/Machine.h"
#include "game/PlayRecorder.h"
#include "game/PlayTally.h"
#include "storage/History.h"
#include "ui/DataCounterWindow.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace ui {
class MainWindow;
} // namespace ui

namespace app {

class PlayHistory : public QObject {
    Q_OBJECT
public:
    PlayHistory(game::Machine& machine, ui::MainWindow& window, QObject* parent = nullptr);
    ~PlayHistory() override;

    // The save directory (ending in '/'), once the start-up has chosen it.
    // Nothing is opened until the first entry or the data counter.
    void setDirectory(const QString& saveDirectory);
    // The program is ending: the session's end time is written.
    void end();

    // The counter window, while it exists (for tests).
    ui::DataCounterWindow* counterWindow() const { return counterWindow_; }
    storage::History* history() const { return history_.get(); }
    // The figures, once the counter has been opened.
    const game::DataCounter* counter() const { return counter_ ? &*counter_ : nullptr; }

    void openCounter();
    void exportCsv();
    void clear();

private:
    void record(game::PlayRecord record);
    // Builds the figures afresh from the file's summaries and this session's
    // own figures.
    void rebuildCounter();
    // A day's slump line, when the counter window first shows it.
    void readDayLine(QDate day);
    void showCounter();
    // A history that broke is reported once, after the event that found it.
    void reportFailure();

    game::Machine& machine_;
    game::PlayRecorder recorder_;
    ui::MainWindow& window_;
    const qint64 sessionStartMs_;
    std::unique_ptr<storage::History> history_;
    // This session's entries added up as they come, so that the counter
    // shows the session even when the file cannot be used.
    game::DataCounter sessionCounter_;
    std::optional<game::DataCounter> counter_;
    QPointer<ui::DataCounterWindow> counterWindow_;
};

} // namespace app
