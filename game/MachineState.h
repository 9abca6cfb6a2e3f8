// SPDX-License-Identifier: MIT
// The machine's state: plain typed fields, all in one value. It holds facts
// of the game only; how they look is the view's business.
#pragma once

#include "game/Lamps.h"

#include <QMetaType>
#include <QtGlobal>

#include <array>

namespace game {

enum class Reel { Left = 0, Centre = 1, Right = 2 };
inline constexpr std::array<Reel, 3> AllReels{Reel::Left, Reel::Centre, Reel::Right};

// Settings line 3: "0" plays sound, "1" is "no sound", anything else (the
// empty line of a first start) plays nothing and leaves the menu unchecked.
enum class SoundSwitch { On, Off, Unset };

// What a cover shows: face down, the hit card 当 or the miss card はずれ.
enum class CoverFace { Down, Hit, Miss };

// One row of a reel: the symbol shown (0..9, -1 for none) and whether it shows.
struct ReelRow {
    int symbol = -1;
    bool visible = true;
    bool operator==(const ReelRow&) const = default;
};

// A reel's three rows: top, middle (the pay line) and bottom.
using ReelFaces = std::array<ReelRow, 3>;

struct ReelState {
    int position = 0;   // between steps, one ahead of the symbol on the pay line
    bool turning = false;
    int stopCount = 0;  // steps to go before the reel's stop rule applies
    ReelFaces faces{};
};

// What the player can do now. The view derives its buttons, menus and pointer from it.
struct Actions {
    bool coversLive = true;                     // the covers take a click
    bool startLive = false;                     // the Start button is there
    std::array<bool, 3> stopsLive{false, false, false}; // the STOP buttons, left to right
    bool busy = false;                          // a spin is under way: no menu command, no cover
    bool operator==(const Actions&) const = default;
};

inline constexpr int ReelTickMs = 75;
inline constexpr int FrameLampTickMs = 250;
inline constexpr int PremiumNoticeMs = 100;
inline constexpr int ChanceSpins = 5;
inline constexpr int MaxBet = 10;
inline constexpr int CoverPrice = 10;
inline constexpr int TargetPrice = 100;
inline constexpr qint64 GoalMoney = 10000000;
inline constexpr qint64 TargetOfferAbove = 1000000;
// The money of a new start: a first start, a failed check and the goal's reset.
inline constexpr qint64 RestartMoney = 100;
// The denominator of the jackpot probability (6 in it) when none is set or
// one below 6 is refused.
inline constexpr double NormalDenominator = 300;
inline constexpr double SmallestDenominator = 6;
// Six jackpot draws need a denominator of at least six: a smaller one is
// refused and the normal one used instead.
constexpr bool DenominatorTooSmall(double denominator) { return denominator < SmallestDenominator; }
// Slot-chance reels turn until the player stops them: these run lengths
// (over an hour at the reel pace) stand for "until stopped".
inline constexpr int UntilStoppedSteps = 50000;

struct MachineState {
    // Amounts, in whole dollars
    qint64 money = RestartMoney;
    qint64 lastWin = 100;
    int bet = 0;
    // The bought target symbol 1..9 (0 = none) and its payout rate, 1 or 100.
    int targetSymbol = 0;
    int targetRate = 1;
    // The target box: the symbol bought at this cover round, 0 for none. A
    // cover click clears it, even when the bought target still pays.
    int targetShown = 0;
    // The slot-chance counter as shown, 0 = hidden. It follows chanceLeft at
    // the end of a spin, not at its start.
    int chanceCounter = 0;

    // The spin's draws and counters
    bool showsReach = false;     // the spin shows a reach
    qint64 drawNumber = 0;       // the lottery: 1..6 make a jackpot spin, each its reach action
    bool allRotation = false;    // the all-rotation reach turns all three reels as one
    // The centre reel's position at its last step, as its stop rule compares
    // it with the left reel; a line-up steps it back to the symbol it pays.
    int centreMark = 0;
    bool noticeOn = false;       // the spin carries a lamp notice
    bool noticeChime = false;    // the spin start drew the notice chime
    bool reachShown = false;     // the reach presentation has started
    int chanceLeft = 0;          // slot-chance spins still to come
    bool slotChanceSpin = false; // the spin in progress is stopped by the player
    double denominator = NormalDenominator; // jackpot probability 6 in this

    std::array<ReelState, 3> reels{};
    // The pace of the play: the clock's reel and notice timers follow these.
    int reelPaceMs = 25;
    bool reelsRunning = false;
    int noticePaceMs = 1000;
    Lamps lamps;

    std::array<CoverFace, 4> covers{CoverFace::Down, CoverFace::Down, CoverFace::Down, CoverFace::Down};
    Actions actions;

    // Settings the machine plays by
    SoundSwitch sound = SoundSwitch::Unset;
    bool unlocked = false;

    ReelState& reel(Reel r) { return reels[std::size_t(r)]; }
    const ReelState& reel(Reel r) const { return reels[std::size_t(r)]; }
};

} // namespace game

Q_DECLARE_METATYPE(game::Reel)
Q_DECLARE_METATYPE(game::ReelFaces)
Q_DECLARE_METATYPE(game::CoverFace)
Q_DECLARE_METATYPE(game::Actions)
Q_DECLARE_METATYPE(game::SoundSwitch)
