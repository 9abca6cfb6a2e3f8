// SPDX-License-Identifier: MIT
// The machine's sound cues on the two media channels: music (MIDI) and
// effects (WAV), each file in the program's directory. A cue starts its file
// from the beginning and cuts off whatever its channel played before.
#pragma once

#include "game/Cues.h"
#include "sound/MediaChannel.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace sound {

// The file of each cue.
QString CueFile(game::Cue cue);
// Every tune and effect file, one each, in the order of the cues.
QStringList CueFiles();

class CuePlayer {
public:
    // `programDir` ends in '/'. `soundOn` tells whether the player still
    // wants sound (music rotation and failure notes only happen then).
    CuePlayer(QString programDir, std::function<bool()> soundOn);

    // Plays a cue; false when the device failed (the reason goes to stderr
    // once the player is not in a message box). A file that is missing is
    // silence and no failure of the device: the channel stays silent, and
    // stderr hears of it once per file.
    bool play(game::Cue cue);
    void stopMusic();
    void stopAll();
    // Sound was switched on: the device may start getting ready.
    void prepare();

    // The cue sounding on each channel; nothing while the channel is silent.
    std::optional<game::Cue> musicCue() const { return musicCue_; }
    std::optional<game::Cue> effectCue() const { return effectCue_; }
    // Why the last cue that failed could not play.
    QString lastError() const { return lastError_; }

private:
    void musicFinished();

    QString programDir_;
    std::function<bool()> soundOn_;
    MediaChannel music_{Device::Sequencer};
    MediaChannel effects_{Device::WaveAudio};
    std::optional<game::Cue> musicCue_;
    std::optional<game::Cue> effectCue_;
    QString lastError_;
    QSet<QString> missingNoted_; // the missing files stderr has heard of
};

} // namespace sound
