// SPDX-License-Identifier: MIT
// The rules of start-up: what the two save files say, as storage reads it,
// and what the game makes of it before the machine starts: the greeting of
// a first start, the battle of wits after a failed check and its
// consolation, the reward for passing the check after one, and the
// denominator in force. They tell and ask through the prompter.
#pragma once

#include "game/MachineState.h"

#include <QString>
#include <QtGlobal>

namespace game {

// From this many failed checks on, the battle of wits ends in the consolation.
inline constexpr double ConsolationFailures = 10;

// The largest denominator line 30 can set: 2^53. The lottery Int(D × Rnd) + 1
// runs in double precision, which can draw every whole number from 1 to D up
// to here and skips numbers beyond it.
inline constexpr double LargestDenominator = 9007199254740992.0;

enum class WitsStatus {
    None,        // no battle under way
    Taken,       // the player took up the battle
    Consolation, // the battle ended in the consolation
};

// What the two files say, as one typed value.
struct SavedState {
    enum class Check {
        FirstStart, // no files yet
        Passed,     // both files present and in agreement
        Failed,     // they disagree: the files were changed by hand
        Damaged,    // a file could not be read, or is no file of its kind; errorNumber says why
    };
    Check check = Check::FirstStart;
    int errorNumber = 0;
    bool everSaved = false;  // the settings name the directory of a save
    qint64 money = RestartMoney;
    SoundSwitch sound = SoundSwitch::Unset;
    bool unlocked = false;
    WitsStatus wits = WitsStatus::None;
    double failures = 0;     // failed checks during the battle
    // What the start-up did to the failure count. A count kept is saved as
    // the file had it; a counted one as its number; a cleared one as nothing.
    enum class Count { Kept, Counted, Cleared };
    Count failuresChange = Count::Kept;
    QString denominatorText; // as written; empty means NormalDenominator. After
                             // the start-up, the denominator in force as decimal text
    // The last save was the one after a failed check (the data mark 0); after
    // the start-up, whether the next save is.
    bool afterFailedCheck = false;
};

enum class StartOutcome {
    Play,        // start the machine with the money, switches and DenominatorInForce()
    CheckFailed, // the money is reset and saved after a failed check, then the game ends
    Damaged,     // a file could not be read: told, nothing is saved, the game ends
};

// Runs the start-up rules on what the files say, changing it to what the
// next save writes, telling and asking through the prompter.
StartOutcome RunStartUp(SavedState& saved);
// The denominator the draws use: NormalDenominator when none is set or its
// value is below 6; otherwise the whole number the lottery Int(D × Rnd) + 1
// draws up to: a fraction is raised to the next whole number (6.4 draws 1 to
// 7, as 7 does), and anything beyond LargestDenominator is held there.
double DenominatorInForce(const SavedState& saved);
// The start-up's last word, once the machine runs: the probability in
// force, named by the denominator the draws use, as decimal text.
void TellCurrentProbability(const SavedState& saved);

} // namespace game
