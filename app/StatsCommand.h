// SPDX-License-Identifier: MIT
// `zelmor --stats`: the data counter's all-time figures as JSON on standard
// output, for scripts. No window is opened and nothing is played.
#pragma once

#include "game/PlayTally.h"

#include <QJsonObject>

namespace app {

// The figures of one tally, as `--stats` prints them.
QJsonObject TallyJson(const game::PlayTally& tally);

// Reads the history of the save directory the game would use and prints its
// figures. Returns the exit code: 0, or 1 when the history cannot be read.
int PrintStats(int argc, char** argv);

} // namespace app
