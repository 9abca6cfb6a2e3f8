// SPDX-License-Identifier: MIT
#include "game/StartUp.h"

#include "game/Prompts.h"
#include "platform/Runtime.h"

#include <algorithm>
#include <cmath>

namespace game {

namespace {

// One more failed check in the battle: counted, from ConsolationFailures on
// the consolation, and the failure dialog shows the new count. The notice
// carries the count as a number for the hints and as the text the settings
// file gets, which also holds a hand-edited count beyond any whole number.
void CountFailure(SavedState& saved)
{
    saved.failures += 1;
    saved.failuresChange = SavedState::Count::Counted;
    if (saved.failures >= ConsolationFailures)
        saved.wits = WitsStatus::Consolation;
    Notice notice;
    notice.kind = Notice::WitsFailure;
    notice.number = qint64(std::clamp(saved.failures, -9e18, 9e18));
    notice.text = rt::DecimalText(saved.failures);
    prompter().tell(notice);
}

// The battle of wits after a failed check: a player already in it sees the
// failure dialog; anyone else is welcomed and may take it up.
void FightBattleOfWits(SavedState& saved)
{
    if (saved.wits != WitsStatus::None) {
        CountFailure(saved);
        return;
    }
    if (prompter().askWits() != WitsChoice::Challenge)
        return;
    saved.wits = WitsStatus::Taken;
    CountFailure(saved);
}

// The denominator as written in line 30, below 6 or not.
double WrittenDenominator(const SavedState& saved)
{
    return saved.denominatorText.isEmpty() ? NormalDenominator : rt::Val(saved.denominatorText);
}

// Line 30 as the draws use it, and as the next save writes it. A denominator
// below the smallest is refused: the normal one replaces it. Any other that
// is not plain decimal text of a whole number ("6.4", "1e308", "0300") is
// replaced by the whole number in force; plain text such as "300" is kept
// byte for byte, and an empty line stays empty.
void SettleDenominator(SavedState& saved)
{
    if (DenominatorTooSmall(WrittenDenominator(saved))) {
        tell(Notice::DenominatorRefused);
        saved.denominatorText = rt::DecimalText(NormalDenominator);
        return;
    }
    if (!saved.denominatorText.isEmpty())
        saved.denominatorText = rt::DecimalText(DenominatorInForce(saved));
}

// The reward for a player who passed the check with the files saved after a
// failed one, in the battle and with money other than the restart money:
// the battle is over.
void RewardPassedCheck(SavedState& saved)
{
    if (!saved.afterFailedCheck || saved.wits == WitsStatus::None || saved.money == RestartMoney)
        return;
    tell(Notice::CheckPassed);
    saved.wits = WitsStatus::None;
    saved.failures = 0;
    saved.failuresChange = SavedState::Count::Cleared;
}

} // namespace

StartOutcome RunStartUp(SavedState& saved)
{
    switch (saved.check) {
    case SavedState::Check::Damaged:
        return StartOutcome::Damaged;
    case SavedState::Check::Failed:
        // The money restarts, and the save that follows carries the mark of
        // a failed check, which the reward asks for at the next start.
        FightBattleOfWits(saved);
        saved.money = RestartMoney;
        saved.afterFailedCheck = true;
        return StartOutcome::CheckFailed;
    case SavedState::Check::FirstStart:
    case SavedState::Check::Passed:
        break;
    }
    if (!saved.everSaved) {
        tell(Notice::Welcome);
        saved.money = RestartMoney;
        // A first start plays sound, as the unchecked "no sound" item says;
        // the save then writes the switch as on.
        saved.sound = SoundSwitch::On;
    }
    SettleDenominator(saved);
    RewardPassedCheck(saved);
    saved.afterFailedCheck = false;
    return StartOutcome::Play;
}

double DenominatorInForce(const SavedState& saved)
{
    const double written = WrittenDenominator(saved);
    if (DenominatorTooSmall(written))
        return NormalDenominator;
    return std::min(std::ceil(written), LargestDenominator);
}

void TellCurrentProbability(const SavedState& saved)
{
    Notice notice;
    notice.kind = Notice::CurrentProbability;
    notice.text = rt::DecimalText(DenominatorInForce(saved));
    prompter().tell(notice);
}

} // namespace game
