// SPDX-License-Identifier: MIT
#include "storage/SavedGame.h"

#include "platform/DataDirectory.h"
#include "platform/Seams.h"
#include "storage/DataFile.h"
#include "storage/FileAccess.h"
#include "storage/LoadCheck.h"
#include "storage/RuntimeError.h"

#include <QFileInfo>

namespace storage {

namespace {

using Check = game::SavedState::Check;

Check CheckOf(LoadOutcome::Kind kind)
{
    switch (kind) {
    case LoadOutcome::FirstStart: return Check::FirstStart;
    case LoadOutcome::Passed: return Check::Passed;
    case LoadOutcome::Failed: return Check::Failed;
    case LoadOutcome::Fatal: return Check::Damaged;
    }
    return Check::Damaged;
}

// The texts of lines 5 and 6: each is written anew only where the start-up
// changed it, so that what a hand wrote there survives a save.
void WriteBattle(Settings& settings, const game::SavedState& state, game::WitsStatus loaded)
{
    if (state.wits != loaded)
        settings.setWits(state.wits);
    switch (state.failuresChange) {
    case game::SavedState::Count::Kept: break;
    case game::SavedState::Count::Counted: settings.setFailures(state.failures); break;
    case game::SavedState::Count::Cleared: settings.failureCount.clear(); break;
    }
}

} // namespace

// Each change of place is found once, at the start that makes it.
SavedGame::Claim SavedGame::claimDirectory(const QString& programDir)
{
    dir_ = SaveDirectory::Choose(programDir);
    switch (dir_.claim()) {
    case SaveDirectory::Claim::Owned: break;
    case SaveDirectory::Claim::AlreadyRunning: return {Claim::AlreadyRunning, dir_.path(), {}};
    // Without a lock two copies could write the same files: this one ends.
    case SaveDirectory::Claim::Unlockable: return {Claim::Unlockable, dir_.lockPath(), {}};
    }
    const QString from = dir_.programDir();
    switch (dir_.adoptPairFromProgramDirectory()) {
    case SaveDirectory::Adoption::None:
    case SaveDirectory::Adoption::InPlace: // loading reports what stands there
        break;
    case SaveDirectory::Adoption::Copied:
        return {Claim::PairMoved, from, dir_.path()};
    case SaveDirectory::Adoption::Failed:
        return {Claim::PairNotMoved, from, platform::PlayerDataDirectory()};
    }
    return {};
}

game::SavedState SavedGame::load()
{
    const LoadOutcome outcome = LoadFiles(dir_.settingsPath(), dir_.dataPath());
    // A settings file that was not read leaves every line empty.
    settings_ = outcome.settings;
    game::SavedState state;
    state.check = CheckOf(outcome.kind);
    state.errorNumber = outcome.errorNumber;
    state.everSaved = settings_.everSaved();
    state.money = settings_.wholeMoney();
    state.sound = settings_.sound();
    state.unlocked = settings_.unlocked();
    state.wits = settings_.wits();
    state.failures = settings_.failures();
    state.denominatorText = settings_.denominator;
    state.afterFailedCheck = outcome.markRead && outcome.loadedMark == 0;
    loaded_ = state;
    damagedFile_ = outcome.errorPath;
    return state;
}

// A failed save leaves the files as they were: a pair of an earlier save,
// or none after a first start.
bool SavedGame::earlierSaveThere() const
{
    return QFileInfo(dir_.settingsPath()).isFile() && QFileInfo(dir_.dataPath()).isFile();
}

SavedGame::SaveOutcome SavedGame::save(const game::SavedState& state, const QString& programDir)
{
    settings_.savedDirectory = programDir;
    settings_.setMoney(state.money);
    settings_.setSound(state.sound);
    if (state.unlocked)
        settings_.unlock();
    WriteBattle(settings_, state, loaded_.wits);
    settings_.denominator = state.denominatorText;
    const int dataMark = state.afterFailedCheck ? 0 : 1;
    try {
        const QByteArray settingsBytes = EncodeSettings(settings_);
        const QByteArray record = EncodeDataRecord(EncodeDataString(settings_.money, dataMark, [] { return Rnd(); }));
        WriteFilePair(dir_.settingsPath(), settingsBytes, dir_.dataPath(), record);
    } catch (const FileError& error) {
        return {false, error.problem(), error.path(), earlierSaveThere()};
    } catch (const RuntimeError&) {
        // No file said no: the record could not be made (money beyond its
        // room), and nothing was written.
        return {false, game::SaveProblem::Other, QFileInfo(dir_.settingsPath()).absolutePath(), earlierSaveThere()};
    }
    return {};
}

} // namespace storage
