// Where the settings file and the data file live. Every file path of the two
// goes through FileDirectory(), so moving them elsewhere is a change here only.
#pragma once

#include <QString>

namespace storage {

// The directory that holds "Zelmor.ini" and "Zelmor.bin": the program's
// directory, or the player's data directory when the program's directory
// cannot be written (an installed copy; see platform/DataDirectory.h).
QString FileDirectory();
QString SettingsPath();
QString DataPath();

} // namespace storage
