// SPDX-License-Identifier: MIT
// The saved game: the settings and data files of the save directory as one
// typed value, game::SavedState. It chooses and locks the directory, loads
// and checks the pair and saves it. It tells the player nothing: each step
// returns its outcome, and the session says what the player must hear.
#pragma once

#include "game/Prompts.h"
#include "game/StartUp.h"
#include "storage/SaveDirectory.h"
#include "storage/Settings.h"

namespace storage {

class SavedGame {
public:
    // What claiming the save directory found.
    struct Claim {
        enum Kind {
            Owned,          // the directory is this run's
            AlreadyRunning, // another copy plays from the files in `path`: this one must end
            Unlockable,     // the lock file `path` can be neither made nor opened: this one must end
            PairMoved,      // the pair was copied from the program's directory `path` to `otherPath`
            PairNotMoved,   // the pair in `path` could not be copied to `otherPath`: nothing will be saved
        };
        Kind kind = Owned;
        QString path;
        QString otherPath;
    };

    // Chooses the directory for the run and takes its lock; a pair the
    // program directory holds but the player cannot write is moved where it
    // can be saved.
    Claim claimDirectory(const QString& programDir);
    // Where the files live in this run, once claimed.
    const SaveDirectory& directory() const { return dir_; }

    // Reads both files and checks them against each other. The lines the
    // state does not hold are kept for the saves, byte for byte.
    game::SavedState load();
    // The file a damaged pair could not be read from, once loaded.
    QString damagedFile() const { return damagedFile_; }

    // What a save did: written, or why not and where.
    struct SaveOutcome {
        bool saved = true;
        game::SaveProblem problem = game::SaveProblem::Other;
        QString path; // the file or directory it failed on
        bool earlierSaveKept = true; // a failed save: the pair of an earlier save is there
    };
    // Writes both files: line 1 names `programDir`, the rest comes from the
    // state, and what the state left as loaded keeps its text. Each save
    // draws its random filler.
    SaveOutcome save(const game::SavedState& state, const QString& programDir);

private:
    bool earlierSaveThere() const;

    SaveDirectory dir_;
    Settings settings_;
    game::SavedState loaded_;
    QString damagedFile_;
};

} // namespace storage
