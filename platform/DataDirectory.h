// SPDX-License-Identifier: MIT
// Where a player's files may go.
//
// A portable copy keeps its save files in the program's directory, next to
// the pictures and sounds. An installed copy's program directory belongs to
// the system and cannot be written by the player; there the files go to the
// player's data directory, $XDG_DATA_HOME/zelmor (by default
// ~/.local/share/zelmor). storage/SaveDirectory.h makes the choice, once a run.
#pragma once

#include <QString>

namespace platform {

// Decides whether a directory can be written by this process. Tests replace
// it, since a process running as root can write almost anywhere.
using WritableProbe = bool (*)(const QString& dir);
// Installs a probe; nullptr restores the real one.
void installWritableProbe(WritableProbe probe);
bool DirectoryWritable(const QString& dir);

// The player's data directory for the game, $XDG_DATA_HOME/zelmor, without
// creating it.
QString PlayerDataDirectory();

} // namespace platform
