// SPDX-License-Identifier: MIT
#include "game/Odds.h"

#include "game/MachineState.h"
#include "game/Payout.h"

#include <algorithm>

namespace game {

namespace {

constexpr int JackpotNumbers = 6; // the lottery's numbers 1..6
constexpr int Symbols = 10;
constexpr int CoverCards = 4;

} // namespace

double JackpotSpinChance(double denominator)
{
    if (!(denominator > JackpotNumbers))
        return 1.0;
    return JackpotNumbers / denominator;
}

double CoverHitChance() { return 1.0 / CoverCards; }

// Each reel stops on one of ten symbols; the centre and right must match the left.
double SlotChanceLineUpChance() { return 1.0 / (Symbols * Symbols); }

double MeanJackpotWin(int bet, int targetSymbol, int targetRate)
{
    qint64 total = 0;
    for (int symbol = 0; symbol < Symbols; ++symbol)
        total += JackpotWin(symbol, bet, targetSymbol, targetRate);
    return double(total) / Symbols;
}

double ExpectedWin(const PlayRecord& spin)
{
    const double chance = spin.slotChance ? SlotChanceLineUpChance() : JackpotSpinChance(spin.denominator);
    return chance * MeanJackpotWin(spin.bet, spin.targetSymbol, spin.targetRate);
}

double ExpectedCost(const PlayRecord& spin)
{
    const double bet = spin.bet * CoverPrice / CoverHitChance();
    return spin.targetRate != 1 ? bet + TargetPrice : bet;
}

} // namespace game
