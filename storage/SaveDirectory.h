// SPDX-License-Identifier: MIT
// Where this run keeps Zelmor.ini and Zelmor.bin: chosen once at start-up,
// and held by a lock so that one running copy of the game owns the files.
#pragma once

#include "storage/DirectoryLock.h"

#include <QString>

namespace storage {

class SaveDirectory {
public:
    enum class Claim {
        Owned,          // this copy holds the directory's lock
        Unlockable,     // no lock can be made there: this copy must not use the files
        AlreadyRunning, // another running copy holds it
    };

    // The program's directory when this process may write it; otherwise the
    // player's data directory (created here).
    static SaveDirectory Choose(const QString& programDir);

    // Takes the directory's lock, Zelmor.lock. A lock whose owner has ended
    // is free, whatever the file holds.
    Claim claim();

    enum class Adoption {
        None,     // nothing to copy: the program's directory holds no pair, or this is it
        Copied,   // the pair now lives in the data directory
        Failed,   // it could not be copied: this run reads it where it is and cannot save
        InPlace,  // a save file's name there holds no regular file: it is read where it is, and loading reports it
    };
    // A pair left in a program directory that cannot be written, while the
    // data directory has none yet, is copied there with its file times (so
    // the check still passes) and the player's read-write mode. When that
    // fails, the pair is read where it is, so the player's money is never
    // taken for a first start. A link to nothing, a directory or a FIFO
    // under a save file's name is never copied, and never taken for no file.
    Adoption adoptPairFromProgramDirectory();

    QString path() const { return path_; }               // ends in '/'
    QString programDir() const { return programDir_; }   // as given
    QString settingsPath() const { return path_ + QStringLiteral("Zelmor.ini"); }
    QString dataPath() const { return path_ + QStringLiteral("Zelmor.bin"); }
    QString lockPath() const { return path_ + QStringLiteral("Zelmor.lock"); }

private:
    QString path_;
    QString programDir_;
    DirectoryLock lock_;
};

} // namespace storage
