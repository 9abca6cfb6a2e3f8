// The game's sound cues on the music and effects channels.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"

using namespace MdlZelmor;

namespace {

bool Cue(MMControl& channel, const QString& path)
{
    return channel.setCommand(QStringLiteral("Close")) && (channel.setFileName(path), true)
        && channel.setCommand(QStringLiteral("Open")) && channel.setCommand(QStringLiteral("Play"));
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

void FrmMain::ConfigureSound()
{
    MMControl1.setDeviceType(QStringLiteral("Sequencer"));
    MMControl2.setNotify(false);
    MMControl2.setWait(true);
    MMControl2.setShareable(false);
    MMControl2.setDeviceType(QStringLiteral("WaveAudio"));
}

void FrmMain::MMControl1_Done(int notifyCode)
{
    Q_UNUSED(notifyCode);
}

void FrmMain::mnuMusic_Click()
{
}
