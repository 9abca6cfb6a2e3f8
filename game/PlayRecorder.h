// SPDX-License-Identifier: MIT
// Turns the machine's events of play into history entries: one for each
// finished spin, with what its start decided and what it paid, and one for
// each money event (a cover click, a target bought, a loan, the goal's reset).
#pragma once

#include "game/PlayRecord.h"

#include <QObject>

#include <optional>

namespace game {

class Machine;

class PlayRecorder : public QObject {
    Q_OBJECT
public:
    explicit PlayRecorder(const Machine& machine, QObject* parent = nullptr);

signals:
    // An entry, untimed: the history stamps it.
    void played(const game::PlayRecord& record);

private:
    void recordMoney(PlayKind kind, qint64 amount);
    void spinStarted();
    void jackpotPaid(int symbol, qint64 win);
    void spinEnded();

    const Machine& machine_;
    // The entry of the spin in progress, reported when it finishes.
    std::optional<PlayRecord> spin_;
    // The money a jackpot brought up to the goal, before its reset.
    std::optional<qint64> goalReached_;
};

} // namespace game
