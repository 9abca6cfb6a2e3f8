// SPDX-License-Identifier: MIT
#include "sound/CuePlayer.h"

#include "sound/AudioBackend.h"
#include "sound/FailureNotes.h"

#include <utility>

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

QStringList CueFiles()
{
    QStringList files;
    for (int cue = int(game::Cue::Roll); cue <= int(game::Cue::Jackpot); ++cue)
        files << CueFile(game::Cue(cue));
    return files;
}

CuePlayer::CuePlayer(QString programDir, std::function<bool()> soundOn)
    : programDir_(std::move(programDir))
    , soundOn_(std::move(soundOn))
{
    QObject::connect(&music_, &MediaChannel::finished, &music_, [this] { musicFinished(); });
    QObject::connect(&effects_, &MediaChannel::finished, &effects_, [this] { effectCue_.reset(); });
}

bool CuePlayer::play(game::Cue cue)
{
    const bool music = game::IsMusic(cue);
    MediaChannel& channel = music ? music_ : effects_;
    std::optional<game::Cue>& sounding = music ? musicCue_ : effectCue_;
    sounding.reset();
    const QString file = CueFile(cue);
    if (channel.play(programDir_ + file)) {
        sounding = cue;
        return true;
    }
    lastError_ = channel.lastError();
    // A missing file is noted once: each cue would repeat it.
    const bool missing = channel.failure() == MediaChannel::Failure::FileMissing;
    if (missing && missingNoted_.contains(file))
        return true;
    if (missing)
        missingNoted_.insert(file);
    NoteFailure(lastError_, &channel, soundOn_);
    return missing;
}

void CuePlayer::stopMusic()
{
    music_.stop();
    musicCue_.reset();
}

void CuePlayer::stopAll()
{
    stopMusic();
    effects_.stop();
    effectCue_.reset();
}

void CuePlayer::prepare()
{
    backend().prepare();
}

// A tune played to its end: the slot chance's intro hands over to its loop,
// the calm tune ends in silence, every other tune starts over. With the sound
// switched off nothing follows.
void CuePlayer::musicFinished()
{
    const std::optional<game::Cue> ended = std::exchange(musicCue_, std::nullopt);
    if (!ended || !soundOn_() || *ended == game::Cue::Calm)
        return;
    play(*ended == game::Cue::ChanceIntro ? game::Cue::ChanceLoop : *ended);
}

} // namespace sound
