// SPDX-License-Identifier: MIT
// The machine's timers: the reels, the frame lamps, the notice lamps and
// auto play's hand. Every pause of the game is one of their intervals;
// nothing waits.
// Played for real, each is a QTimer. Tests and benchmarks step time by hand
// instead: ticks then come only from fire() and advance(), in time order.
// The pace (fast play) divides every interval: exactly when stepped by hand,
// which keeps its time in microseconds; rounded up to the millisecond when
// played for real, so that no pause is ever shorter than its share.
#pragma once

#include <QObject>

#include <array>
#include <functional>

class QTimer;

namespace game {

enum class TimerId { Reel = 0, FrameLamps = 1, NoticeLamps = 2, AutoPlay = 3 };

class Clock : public QObject {
    Q_OBJECT
public:
    enum class Drive { RealTime, ByHand };
    explicit Clock(Drive drive = Drive::RealTime, QObject* parent = nullptr);
    ~Clock() override;

    Drive drive() const { return drive_; }
    // The owner's tick handler, called before ticked() is emitted: the
    // machine's ticks come many thousand times a second when tests and
    // benchmarks step the clock, and a plain call costs a fraction of a
    // signal's dispatch.
    void setTickHandler(std::function<void(TimerId)> handler) { handler_ = std::move(handler); }
    // A new interval restarts the timer's period: the next tick comes one
    // new interval later. A timer ticks while it runs with an interval above 0.
    void setInterval(TimerId timer, int ms);
    void setRunning(TimerId timer, bool running);
    int interval(TimerId timer) const { return timers_[index(timer)].intervalMs; }
    bool running(TimerId timer) const { return timers_[index(timer)].running; }
    bool ticking(TimerId timer) const;

    // Fast play: every interval divided by `pace` (1, 2 or 4); the periods restart.
    void setPace(int pace);
    int pace() const { return pace_; }

    // By hand: ticks the timer now, as its period ending would; false when
    // it is not ticking.
    bool fire(TimerId timer);
    // By hand: lets `ms` of time pass, ticking every timer whose period ends
    // on the way, in time order (the reels first at a tie).
    void advance(qint64 ms);
    // By hand: the time passed so far, in whole milliseconds.
    qint64 now() const { return nowUs_ / 1000; }
    // By hand: how long until the timer's next tick, in milliseconds rounded
    // up (advancing by it reaches the tick); -1 when it is not ticking.
    qint64 untilNext(TimerId timer) const;

signals:
    void ticked(game::TimerId timer);

private:
    struct Timer {
        int intervalMs = 0;
        bool running = false;
        qint64 dueAtUs = 0; // by hand: when the next tick comes
        QTimer* real = nullptr;
    };
    static int index(TimerId timer) { return int(timer); }
    qint64 pacedUs(int ms) const;
    int pacedRealMs(int ms) const;
    void restart(TimerId timer);

    void tick(TimerId timer);

    Drive drive_;
    std::function<void(TimerId)> handler_;
    int pace_ = 1;
    qint64 nowUs_ = 0;
    std::array<Timer, 4> timers_{};
};

} // namespace game

Q_DECLARE_METATYPE(game::TimerId)
