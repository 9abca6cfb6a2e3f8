// SPDX-License-Identifier: MIT
// The player's preferences that the saved game does not hold: the window's
// size, calm lamps, the pace of fast play, the two volumes, the
// language and when auto play stops. They live in a QSettings file in the
// desktop's configuration directory (~/.config/zelmor/zelmor.conf), never in
// Zelmor.ini or Zelmor.bin.
#pragma once

#include "game/AutoPlay.h"
#include "ui/Language.h"

#include <QString>

#include <optional>

namespace ui {

struct Preferences {
    double zoom = 1.0;      // 1, 1.5, 2 or 3
    bool calmLamps = false; // no lamp changes more than twice a second
    int pace = 1;           // fast play: 1, 2 or 4 times the machine's speed
    int musicVolume = 100;  // percent
    int effectsVolume = 100;
    std::optional<Language> language; // none: the desktop's
    // The limits the auto play dialog last started with.
    game::AutoPlayLimits autoPlay{
        .spins = 50, .jackpot = true, .chanceEnd = false, .moneyBelow = std::nullopt, .moneyAtLeast = std::nullopt};

    // The language chosen, or else the desktop's.
    Language shownLanguage() const;

    static Preferences Load();
    void save() const;
};

// The window sizes the view menu offers.
inline constexpr double Zooms[] = {1.0, 1.5, 2.0, 3.0};
// The paces the fast-play menu offers.
inline constexpr int Paces[] = {1, 2, 4};

} // namespace ui
