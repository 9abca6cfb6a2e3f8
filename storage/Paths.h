// Where the settings file and the data file live. Every file path of the two
// goes through FileDirectory(), so moving them elsewhere is a change here only.
#pragma once

#include <QString>

namespace storage {

// The directory that holds "Zelmor.ini" and "Zelmor.bin": the program's directory.
QString FileDirectory();
QString SettingsPath();
QString DataPath();

} // namespace storage
