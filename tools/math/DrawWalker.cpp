// SPDX-License-Identifier: MIT
#include "tools/math/DrawWalker.h"

#include <cmath>
#include <stdexcept>

namespace zmath {

// The walker is the source of the machine's draws while it runs a step.
class DrawWalker::Running {
public:
    explicit Running(DrawWalker& walker) : walker_(walker)
    {
        if (walker_.walking_)
            throw std::logic_error("a walk inside a walk");
        walker_.walking_ = true;
        walker_.wheels_.clear();
        game::installDrawSource(&walker_);
    }
    ~Running()
    {
        game::installDrawSource(nullptr);
        walker_.walking_ = false;
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    DrawWalker& walker_;
};

void DrawWalker::walk(const std::function<void()>& run, const std::function<void(const Fraction&)>& leaf)
{
    const Running running(*this);
    for (;;) {
        next_ = 0;
        run();
        if (next_ != wheels_.size())
            throw std::logic_error("a run made fewer draws than the run before it with the same outcomes");
        leaf(wheels_.empty() ? Fraction(1) : wheels_.back().chance);
        // Turn the odometer: the last wheel that has outcomes left moves on,
        // and the wheels after it are learnt again by the next run.
        while (!wheels_.empty() && wheels_.back().at + 1 == wheels_.back().outcomes)
            wheels_.pop_back();
        if (wheels_.empty())
            return;
        Wheel& last = wheels_.back();
        ++last.at;
        last.chance = (wheels_.size() > 1 ? wheels_[wheels_.size() - 2].chance : Fraction(1)) * chanceOf(last);
    }
}

bool DrawWalker::probe(const std::function<void()>& run)
{
    const Running running(*this);
    next_ = 0;
    run();
    return !wheels_.empty();
}

// The wheel for the next draw: the one this run reached, or a new one at its
// first outcome.
const DrawWalker::Wheel& DrawWalker::turn(long long outcomes, long long denominator)
{
    if (!walking_)
        throw std::logic_error("a draw outside a walk");
    if (next_ < wheels_.size()) {
        const Wheel& wheel = wheels_[next_++];
        if (wheel.outcomes != outcomes || wheel.denominator != denominator)
            throw std::logic_error("a run made other draws than the run before it with the same outcomes");
        return wheel;
    }
    Wheel wheel;
    wheel.outcomes = outcomes;
    wheel.denominator = denominator;
    wheel.chance = (wheels_.empty() ? Fraction(1) : wheels_.back().chance) * chanceOf(wheel);
    wheels_.push_back(wheel);
    ++next_;
    return wheels_.back();
}

Fraction DrawWalker::chanceOf(const Wheel& wheel) const
{
    if (wheel.denominator == 0)
        return Fraction(1, wheel.outcomes);
    return wheel.at < 6 ? Fraction(1, wheel.denominator) : Fraction(wheel.denominator - 6, wheel.denominator);
}

int DrawWalker::draw(int n)
{
    if (n < 1)
        throw std::domain_error("a draw with no outcomes");
    return int(turn(n, 0).at);
}

double DrawWalker::drawLottery(double denominator)
{
    if (!(denominator >= 6 && denominator < 1e15 && std::floor(denominator) == denominator))
        throw std::domain_error("the lottery is walked for whole denominators of at least 6 only");
    const auto d = static_cast<long long>(denominator);
    const long long classes = lottery_ == Lottery::Everything && d > 6 ? 7 : 6;
    return double(turn(classes, d).at + 1);
}

} // namespace zmath
