// SPDX-License-Identifier: MIT
// The machine's state: plain typed fields, all in one value.
#pragma once

#include <QtGlobal>

#include <array>

namespace game {

enum class Reel { Left = 0, Centre = 1, Right = 2 };

// Settings line 3: "0" plays sound, "1" is "no sound", anything else (the
// empty line of a first start) plays nothing and leaves the menu unchecked.
enum class SoundSwitch { On, Off, Unset };

enum class Pointer { Default, Hourglass, ArrowHourglass };

// What a cover shows: face down, the hit card 当 or the miss card はずれ.
enum class CoverFace { Down, Hit, Miss };

// One row of a reel: the symbol shown (0..9, -1 for none) and whether it shows.
struct ReelRow {
    int symbol = -1;
    bool visible = true;
};

// Lamp colours, blue-green-red (&HBBGGRR).
inline constexpr long FrameLampLit = 0xFFFF00;  // cyan
inline constexpr long FrameLampDark = 0x808000; // teal
inline constexpr long NoticeLampLit = 0x80C0FF; // light orange
inline constexpr long NoticeLampDark = 0x0040C0; // dark orange
// With calm lamps the premium notice is told apart by its colour, crimson,
// rather than by its pace.
inline constexpr long NoticeLampPremium = 0x4000FF;

inline constexpr int ReelTickMs = 75;
inline constexpr int FrameLampTickMs = 250;
inline constexpr int PremiumNoticeMs = 100;
// Calm lamps: the colours shown may change only at every second frame-lamp
// tick, so no lamp changes more than twice a second.
inline constexpr int CalmLampTicks = 2;
inline constexpr int ChanceSpins = 5;
inline constexpr int MaxBet = 10;
inline constexpr int CoverPrice = 10;
inline constexpr int TargetPrice = 100;
inline constexpr qint64 Goal = 10000000;
inline constexpr qint64 TargetOfferAbove = 1000000;

struct MachineState {
    // Amounts, in whole dollars
    qint64 money = 100;
    qint64 lastWin = 100;
    int bet = 0;
    // The bought target symbol 1..9 (0 = none) and its payout rate, 1 or 100.
    int targetSymbol = 0;
    int targetRate = 1;
    // The slot-chance counter as shown, 0 = hidden. It follows chanceLeft at
    // the end of a spin, not at its start.
    int chanceCounter = 0;

    // The spin's draws and counters
    int reachFlag = 0;           // 1 = the spin shows a reach
    qint64 drawNumber = 0;       // the lottery: 1..6 make a jackpot spin
    int stopCountL = 0, stopCountC = 0, stopCountR = 0;
    bool allRotation = false;
    int hitSymbol = 0;           // the centre reel's position; the symbol paid
    bool noticeOn = false;       // the spin carries a lamp notice
    bool reachShown = false;     // the reach presentation has started
    int chanceLeft = 0;          // slot-chance spins still to come
    bool slotChanceSpin = false; // the spin in progress is stopped by the player
    double denominator = 300;    // jackpot probability 6 in this

    // Reels: positions are one ahead of the symbol on the pay line.
    int posL = 0, posC = 0, posR = 0;
    bool spinL = false, spinC = false, spinR = false;
    std::array<ReelRow, 9> rows{}; // left top, middle, bottom, then centre, then right

    // Lamps. The blinking calls for the colours in frameLampsDue and
    // noticeLampsDue; the colours shown, frameLamps and noticeLamps, follow
    // them at once, or with calm lamps on the calm lamps' slower grid.
    bool frameBlink = false;
    int framePhase = 0;
    bool noticeBlink = false;
    int noticePhase = 0;
    long frameLampsDue = FrameLampDark;
    long noticeLampsDue = NoticeLampDark;
    long frameLamps = FrameLampDark;
    long noticeLamps = NoticeLampDark;
    // Calm lamps, a preference of the player's
    bool calmLamps = false;
    int calmTicks = 0;          // frame-lamp ticks since the shown colours could last change
    bool frameBlinked = false;  // the blinking changed a group's due colour since then
    bool noticeBlinked = false;

    // Timers
    bool reelTimerEnabled = false;
    int reelTimerMs = 25;
    int noticeTimerMs = 1000;

    // Controls
    std::array<CoverFace, 4> covers{CoverFace::Down, CoverFace::Down, CoverFace::Down, CoverFace::Down};
    bool coversEnabled = true;
    int targetPicture = 0;       // the target box: symbol 1..9, or 0 for the plain picture
    bool startShown = false;
    bool menusEnabled = true;
    std::array<bool, 3> stopShown{false, false, false};
    Pointer pointer = Pointer::Default;

    // Settings the machine plays by
    SoundSwitch sound = SoundSwitch::Unset;
    bool unlocked = false;
};

} // namespace game
