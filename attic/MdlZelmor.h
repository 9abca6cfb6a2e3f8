// Globals that the main window shares with the dialogs.
#pragma once

#include <QString>

#include <array>

namespace MdlZelmor {

// Jackpot payout multiplier: 1 normally, 100 after a target symbol was bought.
inline int TargetRate = 1;
// The bought target symbol 1..9, or 0 for none.
inline int TargetSymbol = 0;
// The program's directory, ending in a separator after start-up.
inline QString AppDir;
// Settings line N sits in slot N (1..30); slot 0 is never used.
inline std::array<QString, 31> SaveLines;

// Puts every global back to its value at program start.
void Reset();

} // namespace MdlZelmor
