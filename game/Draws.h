// SPDX-License-Identifier: MIT
// The machine's draws. Every random decision of the game is a draw
// Int(Rnd * n) with n equally likely outcomes, or the lottery
// Int(denominator * Rnd) + 1; the machine makes all of them through these two
// functions. A tool may stand in for the random numbers here and learn each
// draw's n: the math tool walks every outcome of every draw this way.
#pragma once

#include <QtGlobal>

namespace game {

// Where the draws come from. Without one installed they read the random seam.
class DrawSource {
public:
    virtual ~DrawSource() = default;
    // Int(Rnd * n): one of 0..n-1.
    virtual int draw(int n) = 0;
    // The lottery Int(denominator * Rnd) + 1.
    virtual double drawLottery(double denominator) = 0;
};

// Installs a source for every draw; nullptr restores the random seam.
void installDrawSource(DrawSource* source);

// Int(Rnd * n) + offset, the form of every draw of the game.
int Draw(int n, int offset = 0);

// The lottery Int(denominator * Rnd) + 1. Only 1..6 mean anything, so a
// denominator too large for a whole number simply draws a large miss.
qint64 DrawLottery(double denominator);

} // namespace game
