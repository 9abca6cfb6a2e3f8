// SPDX-License-Identifier: MIT
// A stand-in for the random numbers that walks every outcome of the draws the
// machine makes.
#pragma once

#include "game/Draws.h"
#include "tools/math/Fraction.h"

#include <functional>
#include <vector>

namespace zmath {

// Runs a step of the machine (a Start, a reel tick, a cover click) once for
// every combination of the draws it makes, like an odometer whose wheels are
// the draws in the order the machine makes them. A wheel's size is learnt
// when the machine first makes that draw, so the walk knows nothing of the
// rules: a different branch may make different draws after it.
//
// A draw Int(Rnd * n) has n outcomes of chance 1/n. The lottery
// Int(D * Rnd) + 1 is walked as its classes: 1..6 one by one with chance 1/D
// each, and 7 standing for every draw from 7 to D, with chance (D - 6) / D.
// D must be a whole number of at least 6.
class DrawWalker : public game::DrawSource {
public:
    enum class Lottery {
        Everything,   // every class of the lottery
        JackpotsOnly, // only the draws 1..6: the chances then add up to 6 / D
    };
    explicit DrawWalker(Lottery lottery = Lottery::Everything) : lottery_(lottery) {}

    // Calls `run` once for each combination of the draws it makes; after each
    // run, `leaf` gets the chance of that combination. `run` must start from
    // the same state every time. The walker is the source of the machine's
    // draws while it walks, and only then.
    void walk(const std::function<void()>& run, const std::function<void(const Fraction& chance)>& leaf);

    // Calls `run` once, with the first outcome of every draw it makes; true
    // when it made any.
    bool probe(const std::function<void()>& run);

    int draw(int n) override;
    double drawLottery(double denominator) override;

private:
    class Running;
    struct Wheel {
        long long outcomes = 0;    // n, or the lottery's number of classes
        long long at = 0;          // the outcome of this run
        long long denominator = 0; // the lottery's D; 0 for a draw Int(Rnd * n)
        Fraction chance;           // of this wheel's outcome and all before it
    };
    const Wheel& turn(long long outcomes, long long denominator);
    Fraction chanceOf(const Wheel& wheel) const;

    Lottery lottery_;
    std::vector<Wheel> wheels_;
    std::size_t next_ = 0; // the wheel the next draw reads
    bool walking_ = false;
};

} // namespace zmath
