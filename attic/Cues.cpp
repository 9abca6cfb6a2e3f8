// The game's sound cues on the music and effects channels, the music
// rotation and the no-sound switch.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "sound/FailureNotes.h"

using namespace MdlZelmor;

namespace {

// Close, file, Open, Play: every cue starts its file from the beginning and
// cuts off whatever the channel played before.
bool Cue(MMControl& channel, const QString& path)
{
    const bool played = channel.setCommand(QStringLiteral("Close")) && (channel.setFileName(path), true)
        && channel.setCommand(QStringLiteral("Open")) && channel.setCommand(QStringLiteral("Play"));
    if (!played)
        sound::NoteFailure(channel.lastError());
    return played;
}

} // namespace

bool FrmMain::PlayMusic(const QString& file)
{
    return Cue(MMControl1, AppDir + file);
}

bool FrmMain::PlayEffect(const QString& file)
{
    return Cue(MMControl2, AppDir + file);
}

void FrmMain::CloseMusic()
{
    MMControl1.setCommand(QStringLiteral("Close"));
}

// Start-up: sets up both channels; nothing plays yet. The synthesizer and its
// soundfont load when the first tune is cued, so they add nothing to start-up.
void FrmMain::ConfigureSound()
{
    MMControl1.setDeviceType(QStringLiteral("Sequencer"));
    MMControl2.setNotify(false);
    MMControl2.setWait(true);
    MMControl2.setShareable(false);
    MMControl2.setDeviceType(QStringLiteral("WaveAudio"));
}

// A tune played to its end: "Tvsa1.MID" hands over to "Tvsa2.MID", "Tvsa3.MID"
// ends in silence, every other tune starts over.
void FrmMain::MMControl1_Done(int notifyCode)
{
    if (notifyCode != MMControl::mciSuccessful || !SoundOn())
        return;
    const QString file = MMControl1.fileName();
    if (file == AppDir + QStringLiteral("Tvsa3.MID"))
        return;
    const QString next = file == AppDir + QStringLiteral("Tvsa1.MID") ? AppDir + QStringLiteral("Tvsa2.MID") : file;
    Cue(MMControl1, next);
}

// "No sound": switching off closes both channels; switching on plays nothing
// until the next cue.
void FrmMain::mnuMusic_Click()
{
    if (SaveLines[3] != QStringLiteral("1")) {
        SaveLines[3] = QStringLiteral("1");
        mnuMusic.setChecked(true);
        MMControl1.setCommand(QStringLiteral("Close"));
        MMControl2.setCommand(QStringLiteral("Close"));
    } else {
        SaveLines[3] = QStringLiteral("0");
        mnuMusic.setChecked(false);
        sound::backend().prepare();
    }
}
