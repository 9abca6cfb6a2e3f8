// SPDX-License-Identifier: MIT
// The system's requests to end the game: SIGTERM, SIGINT and SIGHUP (kill,
// Ctrl-C in a terminal, a closed terminal, shutting down) reach the event
// loop as one signal, so that the game ends through its normal quit path and
// saves. The handler only writes a byte into a pipe; nothing else runs
// inside it, and a second signal during the save just writes another byte.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace app {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    // Once for every batch of signals that arrived.
    void quitRequested();

private:
    void drain();
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace app
