// SPDX-License-Identifier: MIT
// Loading both files and checking them against each other: the raw outcome,
// which SavedGame turns into the typed game::SavedState.
#pragma once

#include "storage/Settings.h"

#include <QString>

namespace storage {

// Files written by one save are at most this many seconds apart.
inline constexpr int MaxSecondsApart = 50;

struct LoadOutcome {
    enum Kind {
        FirstStart, // no settings file
        Passed,     // both files present and in agreement
        Failed,     // the integrity check failed
        Fatal,      // a file could not be read, or is no file of its kind; errorNumber says why
    };
    Kind kind = Passed;
    // 1: data file missing; 2: money copy differs; 3: data file written more
    // than MaxSecondsApart after the settings file; 4: before it; 5: a file
    // vanished before its time could be read.
    int failureCase = 0;
    int errorNumber = 0;
    QString errorPath; // the file that could not be read (Fatal)
    bool fileMissing = false;
    bool markRead = false;
    double loadedMark = 0;
    Settings settings; // as read, when the settings file was read
    bool settingsRead = false;
};

// Reads the settings file and the data file and checks them. A save that was
// cut short is completed or discarded first (see RecoverInterruptedSave).
LoadOutcome LoadFiles(const QString& settingsPath, const QString& dataPath);

} // namespace storage
