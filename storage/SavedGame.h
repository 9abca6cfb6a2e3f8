// SPDX-License-Identifier: MIT
// The saved game: the settings and data files of the save directory, the
// start-up that loads and checks them, and saving.
#pragma once

#include "game/Machine.h"
#include "storage/SaveDirectory.h"
#include "storage/Settings.h"

namespace storage {

class SavedGame {
public:
    enum class Opened {
        Play,        // the files are loaded (or none exist yet): start the machine
        CheckFailed, // the integrity check failed: the reset money is saved, quit
        Fatal,       // a file could not be read: the message has been shown and the program ended
        Running,     // another copy of the game plays from the same files: said so, the program ended
    };

    // Start-up up to the machine's own: chooses the save directory for the
    // run and takes its lock, loads and checks both files (the battle of wits
    // after a failed check), greets a first-time player, takes the
    // probability denominator and runs the check-passed test.
    Opened open();
    // Where the files live in this run, once open() has chosen.
    const SaveDirectory& directory() const { return dir_; }
    // The values the machine starts with, once open() said Play.
    game::Machine::StartValues startValues() const;
    // The denominator as the start-up notice names it.
    QString denominatorText() const;

    // Takes the sound switch, the unlock and a chosen denominator from the machine.
    void takeFrom(const game::Machine& machine);
    // Writes both files with the given money. A failure is reported in a
    // message box; the game goes on ending.
    void save(qint64 money);
    // The money the settings hold, as the start-up reads it.
    qint64 settingsMoney() const;

    Settings settings;
    int dataMark = 1;       // the mark written into the data file: 0 only right after a failed check
    double loadedMark = 0;  // the mark read back at loading

private:
    bool claimDirectory();
    void showWitsDialogs();
    void showWitsFailure();
    void checkPassedTest();
    double denominator_ = 300;
    SaveDirectory dir_;
    // Saved as the program's directory: with its trailing '/' once the game
    // plays, as the program reports it on the way out after a failed check.
    QString appDir_;
};

} // namespace storage
