// SPDX-License-Identifier: MIT
// The machine's math, computed exactly from the game's own rules.
//
// Every random decision of the game is a draw Int(Rnd * n) with n equally
// likely outcomes. The quantities below come from running the real machine
// (game::Machine) with a stand-in for its random numbers that walks every
// outcome of every draw (DrawWalker, SpinChain), and adding up the chances as
// exact fractions. Payouts come from game::JackpotWin. Only the player is a
// model: how the three stop buttons of the slot chance are pressed.
#pragma once

#include "game/MachineState.h"
#include "tools/math/Fraction.h"

#include <array>
#include <map>
#include <optional>

namespace zmath {

using Distribution = std::array<Fraction, 10>; // over the symbols 0..9

// What the spin start decides for a spin outside the slot chance, as chances
// per spin.
struct SpinOdds {
    Fraction jackpot;                   // the spin arms the slot chance
    std::array<Fraction, 7> action;     // [1..6]: each reach action by DrawNumber
    Fraction missedReach;               // a reach without a jackpot
    Fraction reachShown() const { return jackpot + missedReach; }
    // Notices at spin start.
    Fraction premiumLamps;              // notice lamps at 100 ms
    Fraction normalLamps;               // notice lamps at 500 ms
    Fraction noticeSound;               // the notice cue (with sound on)
    Fraction anyNotice;                 // lamps or sound or both
    // The same restricted to jackpot spins, for P(jackpot | notice).
    Fraction premiumLampsJackpot, normalLampsJackpot, noticeSoundJackpot, anyNoticeJackpot;
    // Within a jackpot spin.
    Fraction jpPremium, jpLampsAndSound, jpSoundOnly, jpNone;
    // Within a reach without jackpot.
    Fraction mrSound, mrLamps, mrBoth, mrNone;
};

// One cover click: the chance that it hits and what it costs.
struct CoverOdds {
    Fraction hit;
    Fraction pricePerClick;
    // Clicks are repeated until one hits, so their number is geometric with
    // mean 1 / hit: the expected dollars paid for one BET point.
    Fraction costPerBetPoint() const { return pricePerClick / hit; }
};

// A target symbol bought at a cover hit: what it pays on and what it cost.
struct TargetPurchase {
    int symbol = 0;
    int rate = 1;
    qint64 price = 0;
};

// The slot-chance player: each of the spins is stopped by the three stop
// buttons at moments that leave every reel on a uniformly random symbol,
// independently.
struct SlotChanceOdds {
    Fraction lineUp;
    Distribution symbol{};
};

// Expected winnings per dollar spent, for a player who plays every spin at
// one BET (buying it at the covers). Ratios of expectations: the long-run
// winnings divided by the long-run spending.
struct Return {
    Fraction cost; // expected dollars spent
    Fraction win;  // expected dollars won
    Fraction perDollar() const { return win / cost; }
};

// The machine as a player meets it at Start: started up with $1000 and the
// sound on, BET 1 bought with a hit at cover A.
game::MachineState ReadyToSpin(int denominator = 300);

SpinOdds EnumerateSpinStart(int denominator);
CoverOdds EnumerateCoverClick(int cover = 0);
TargetPurchase BuyTarget(int symbol);
SlotChanceOdds EnumerateSlotChanceSpin();

// The jackpot symbol of a jackpot spin, over all six reach actions, when
// Start is pressed in state `from`.
Distribution JackpotSymbol(const game::MachineState& from);

struct JackpotSymbols {
    // Every spin moves the left reel by a number of steps drawn independently
    // of where it stands (the slot chance too, for a player who stops at
    // random), so in the long run its position at Start is uniform over 0..9.
    Distribution longRun{};
    // The first spin of a run, from the reels as start-up leaves them.
    Distribution firstSpin{};
};
JackpotSymbols EnumerateJackpotSymbols();

// The mean win of a jackpot whose symbol has the given distribution, at BET
// `bet`, with `target` bought (symbol 0 = none).
Fraction MeanWin(const Distribution& symbol, int bet, const TargetPurchase& target = {});

// The figures the tables print, each computed once.
class MachineMath {
public:
    const SpinOdds& spinOdds(int denominator);
    const CoverOdds& covers();
    const JackpotSymbols& jackpotSymbols();
    const SlotChanceOdds& slotChance();
    const TargetPurchase& target(int symbol);

    // One spin outside the slot chance; `target` (0 = none) is bought before
    // every such spin.
    Return normalSpin(int denominator, int bet, int target = 0);
    // One slot-chance spin.
    Return slotChanceSpin(int bet);
    // One spin outside the slot chance together with the slot-chance spins
    // that follow it when it is a jackpot spin.
    Return wholeGame(int denominator, int bet, int target = 0);

private:
    std::map<int, SpinOdds> spinOdds_;
    std::optional<CoverOdds> covers_;
    std::optional<JackpotSymbols> jackpotSymbols_;
    std::optional<SlotChanceOdds> slotChance_;
    std::map<int, TargetPurchase> targets_;
};

} // namespace zmath
