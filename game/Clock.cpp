// SPDX-License-Identifier: MIT
#include "game/Clock.h"

#include <QTimer>

#include <limits>

namespace game {

Clock::Clock(Drive drive, QObject* parent)
    : QObject(parent)
    , drive_(drive)
{
    qRegisterMetaType<game::TimerId>();
    if (drive_ != Drive::RealTime)
        return;
    for (int i = 0; i < int(timers_.size()); ++i) {
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, i] { tick(TimerId(i)); });
        timers_[i].real = timer;
    }
}

Clock::~Clock() = default;

// An interval at the pace, in microseconds: exact for the paces offered.
qint64 Clock::pacedUs(int ms) const
{
    return qint64(ms) * 1000 / pace_;
}

// An interval at the pace for a QTimer, which counts whole milliseconds:
// rounded up, so that a tick never comes before its share of the interval
// (calm lamps count on their half second).
int Clock::pacedRealMs(int ms) const
{
    return ms <= 0 ? ms : (ms + pace_ - 1) / pace_;
}

bool Clock::ticking(TimerId timer) const
{
    const Timer& t = timers_[index(timer)];
    return t.running && t.intervalMs > 0;
}

// Starts the timer's period afresh, or stops it when it no longer ticks.
void Clock::restart(TimerId timer)
{
    Timer& t = timers_[index(timer)];
    t.dueAtUs = nowUs_ + pacedUs(t.intervalMs);
    if (!t.real)
        return;
    if (ticking(timer))
        t.real->start(pacedRealMs(t.intervalMs));
    else
        t.real->stop();
}

void Clock::setInterval(TimerId timer, int ms)
{
    timers_[index(timer)].intervalMs = ms;
    restart(timer);
}

void Clock::setRunning(TimerId timer, bool running)
{
    Timer& t = timers_[index(timer)];
    if (t.running == running)
        return;
    t.running = running;
    restart(timer);
}

void Clock::setPace(int pace)
{
    pace_ = qMax(1, pace);
    for (TimerId timer : {TimerId::Reel, TimerId::FrameLamps, TimerId::NoticeLamps, TimerId::AutoPlay})
        restart(timer);
}

bool Clock::fire(TimerId timer)
{
    if (!ticking(timer))
        return false;
    Timer& t = timers_[index(timer)];
    t.dueAtUs = nowUs_ + pacedUs(t.intervalMs);
    tick(timer);
    return true;
}

void Clock::tick(TimerId timer)
{
    if (handler_)
        handler_(timer);
    emit ticked(timer);
}

qint64 Clock::untilNext(TimerId timer) const
{
    if (!ticking(timer))
        return -1;
    return (timers_[index(timer)].dueAtUs - nowUs_ + 999) / 1000;
}

void Clock::advance(qint64 ms)
{
    const qint64 endUs = nowUs_ + ms * 1000;
    for (;;) {
        // The tick due first; a tick can change any timer, so look again each time.
        int next = -1;
        qint64 dueAtUs = std::numeric_limits<qint64>::max();
        for (int i = 0; i < int(timers_.size()); ++i) {
            if (ticking(TimerId(i)) && timers_[i].dueAtUs < dueAtUs) {
                dueAtUs = timers_[i].dueAtUs;
                next = i;
            }
        }
        if (next < 0 || dueAtUs > endUs)
            break;
        nowUs_ = dueAtUs;
        fire(TimerId(next));
    }
    nowUs_ = endUs;
}

} // namespace game
