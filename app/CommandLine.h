// SPDX-License-Identifier: MIT
// The command line: --help, --version, and a clear refusal of anything else.
// Read before any window exists, so that it works without a display.
#pragma once

#include <optional>

namespace app {

// Handles the options. Returns the exit code when the program is to end here
// (help or version printed: 0; an unknown option or argument: 2), or nothing
// when the game is to start.
std::optional<int> HandleCommandLine(int argc, char** argv);

} // namespace app
