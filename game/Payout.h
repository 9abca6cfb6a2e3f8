// SPDX-License-Identifier: MIT
// The jackpot payout: one formula, used by the machine and the math tool.
#pragma once

#include <QtGlobal>

namespace game {

// Symbol x 100 x BET; a bought target symbol pays a hundredfold, the
// 10000-dollar symbol 0 pays 10000 x BET, and 3, 5 and 7 add $1000 once.
constexpr qint64 JackpotWin(int symbol, qint64 bet, int targetSymbol, int targetRate)
{
    qint64 win = symbol * 100 * bet;
    if (targetRate != 1 && symbol == targetSymbol)
        win *= targetRate;
    if (symbol == 0)
        win = bet * 10000;
    if (symbol == 3 || symbol == 5 || symbol == 7)
        win += 1000;
    return win;
}

} // namespace game
