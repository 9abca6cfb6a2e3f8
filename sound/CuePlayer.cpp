// SPDX-License-Identifier: MIT
#include "sound/CuePlayer.h"

#include "sound/AudioBackend.h"
#include "sound/FailureNotes.h"

namespace sound {

QString CueFile(game::Cue cue)
{
    switch (cue) {
    case game::Cue::Roll: return QStringLiteral("ROLL.MID");
    case game::Cue::Reach: return QStringLiteral("REACH.MID");
    case game::Cue::AllRotation: return QStringLiteral("ALLR.MID");
    case game::Cue::Fever: return QStringLiteral("FEVER.MID");
    case game::Cue::ChanceIntro: return QStringLiteral("Tvsa1.MID");
    case game::Cue::ChanceLoop: return QStringLiteral("Tvsa2.MID");
    case game::Cue::Calm: return QStringLiteral("Tvsa3.MID");
    case game::Cue::Notice: return QStringLiteral("YOKOKU.WAV");
    case game::Cue::Stop: return QStringLiteral("STOP.WAV");
    case game::Cue::Jackpot: return QStringLiteral("ATARI.WAV");
    }
    return QString();
}

CuePlayer::CuePlayer(QString programDir, std::function<bool()> soundOn)
    : programDir_(std::move(programDir))
    , soundOn_(std::move(soundOn))
{
    music.setDeviceType(QStringLiteral("Sequencer"));
    effects.setNotify(false);
    effects.setWait(true);
    effects.setShareable(false);
    effects.setDeviceType(QStringLiteral("WaveAudio"));
    music.onDone = [this](int notifyCode) { musicDone(notifyCode); };
}

bool CuePlayer::play(game::Cue cue)
{
    return this->cue(game::IsMusic(cue) ? music : effects, programDir_ + CueFile(cue));
}

void CuePlayer::stopMusic()
{
    music.setCommand(QStringLiteral("Close"));
}

void CuePlayer::stopAll()
{
    music.setCommand(QStringLiteral("Close"));
    effects.setCommand(QStringLiteral("Close"));
}

void CuePlayer::prepare()
{
    backend().prepare();
}

// Close, file, Open, Play: every cue starts its file from the beginning and
// cuts off whatever the channel played before.
bool CuePlayer::cue(MMControl& channel, const QString& file)
{
    const bool played = channel.setCommand(QStringLiteral("Close")) && (channel.setFileName(file), true)
        && channel.setCommand(QStringLiteral("Open")) && channel.setCommand(QStringLiteral("Play"));
    if (!played)
        NoteFailure(channel.lastError(), &channel, soundOn_);
    return played;
}

// A tune played to its end: the slot chance's intro hands over to its loop,
// the calm tune ends in silence, every other tune starts over.
void CuePlayer::musicDone(int notifyCode)
{
    if (notifyCode != MMControl::mciSuccessful || !soundOn_())
        return;
    const QString file = music.fileName();
    if (file == programDir_ + CueFile(game::Cue::Calm))
        return;
    const bool intro = file == programDir_ + CueFile(game::Cue::ChanceIntro);
    cue(music, intro ? programDir_ + CueFile(game::Cue::ChanceLoop) : file);
}

} // namespace sound
