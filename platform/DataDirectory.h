// Where Zelmor.ini and Zelmor.bin live.
//
// A portable copy keeps them in the program's directory, next to the pictures
// and sounds. An installed copy's program directory belongs to the system and
// cannot be written by the player, so there the two files move to the
// player's data directory, $XDG_DATA_HOME/zelmor (by default
// ~/.local/share/zelmor). Pictures and sounds always come from the program's
// directory.
#pragma once

#include <QString>

namespace platform {

// Decides whether a directory can be written by this process. Tests replace
// it, since a process running as root can write almost anywhere.
using WritableProbe = bool (*)(const QString& dir);
// Installs a probe; nullptr restores the real one.
void installWritableProbe(WritableProbe probe);

// The player's data directory for the game, $XDG_DATA_HOME/zelmor, without
// creating it.
QString PlayerDataDirectory();

// The directory that holds Zelmor.ini and Zelmor.bin, ending in '/': the
// program's directory when it is writable, otherwise the player's data
// directory, which is created on demand.
QString DataDirectory();
// The same rule for a given program directory.
QString DataDirectoryFor(const QString& programDir);

} // namespace platform
