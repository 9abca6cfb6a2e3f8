// SPDX-License-Identifier: MIT
// What the machine promises, in closed form: the chances of its draws and the
// mean payout, for the data counter's expected values. The math tool derives
// the same figures by walking every draw of the real machine, and the tests
// hold the two together.
#pragma once

#include "game/PlayRecord.h"

namespace game {

// The lottery Int(denominator * Rnd) + 1 makes a jackpot spin on 1..6.
double JackpotSpinChance(double denominator);
// One cover click in four hits.
double CoverHitChance();
// A slot-chance spin lines up when the three stops land on one symbol; for a
// player who stops at random moments, once in a hundred.
double SlotChanceLineUpChance();
// The mean win of a jackpot at `bet`, every symbol equally likely.
double MeanJackpotWin(int bet, int targetSymbol, int targetRate);

// A finished spin's expected win, and the expected dollars paid for it: its
// BET bought at the covers, and its target.
double ExpectedWin(const PlayRecord& spin);
double ExpectedCost(const PlayRecord& spin);

} // namespace game
