// SPDX-License-Identifier: MIT
// The machine's sound cues on the two media channels: music (MIDI) and
// effects (WAV), each file in the program's directory. A cue closes its
// channel, then opens and plays its file from the beginning.
#pragma once

#include "game/Cues.h"
#include "sound/MMControl.h"

#include <QString>

#include <functional>

namespace sound {

// The file of each cue.
QString CueFile(game::Cue cue);

class CuePlayer {
public:
    // `programDir` ends in '/'. `soundOn` tells whether the player still
    // wants sound (music rotation and failure notes only happen then).
    CuePlayer(QString programDir, std::function<bool()> soundOn);

    // Plays a cue; false when the device failed (the reason goes to stderr
    // once the player is not in a message box).
    bool play(game::Cue cue);
    void stopMusic();
    void stopAll();
    // Sound was switched on: the device may start getting ready.
    void prepare();

    MMControl music;   // "Sequencer"
    MMControl effects; // "WaveAudio"

private:
    bool cue(MMControl& channel, const QString& file);
    void musicDone(int notifyCode);

    QString programDir_;
    std::function<bool()> soundOn_;
};

} // namespace sound
