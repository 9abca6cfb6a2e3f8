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

int Clock::paced(int ms) const
{
    return ms <= 0 ? ms : qMax(1, ms / pace_);
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
    t.dueAt = now_ + paced(t.intervalMs);
    if (!t.real)
        return;
    if (ticking(timer))
        t.real->start(paced(t.intervalMs));
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
    for (TimerId timer : {TimerId::Reel, TimerId::FrameLamps, TimerId::NoticeLamps})
        restart(timer);
}

bool Clock::fire(TimerId timer)
{
    if (!ticking(timer))
        return false;
    Timer& t = timers_[index(timer)];
    t.dueAt = now_ + paced(t.intervalMs);
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
    return ticking(timer) ? timers_[index(timer)].dueAt - now_ : -1;
}

void Clock::advance(qint64 ms)
{
    const qint64 end = now_ + ms;
    for (;;) {
        // The tick due first; a tick can change any timer, so look again each time.
        int next = -1;
        qint64 dueAt = std::numeric_limits<qint64>::max();
        for (int i = 0; i < int(timers_.size()); ++i) {
            if (ticking(TimerId(i)) && timers_[i].dueAt < dueAt) {
                dueAt = timers_[i].dueAt;
                next = i;
            }
        }
        if (next < 0 || dueAt > end)
            break;
        now_ = dueAt;
        fire(TimerId(next));
    }
    now_ = end;
}

} // namespace game
