// SPDX-License-Identifier: MIT
#include "app/GameSession.h"

#include "platform/Seams.h"
#include "sound/AudioBackend.h"
#include "ui/Preferences.h"
#include "ui/VolumeDialog.h"

#include <QGuiApplication>

namespace app {

namespace {

QString DirectoryWithSlash(QString dir)
{
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace

GameSession::GameSession(QObject* parent)
    : QObject(parent)
    , programDir_(DirectoryWithSlash(ProgramDir()))
    , cuePlayer_(programDir_, [this] { return machine_.soundOn(); })
    , window_(machine_, programDir_)
    , playHistory_(machine_, window_)
{
    connectSound();
    connect(&window_, &ui::MainWindow::quitRequested, this, &GameSession::quit);
    // Calm lamps and the window's size as the player last chose them; each
    // new choice is remembered.
    const ui::Preferences preferences = ui::Preferences::Load();
    machine_.setCalmLamps(preferences.calmLamps);
    connect(&machine_, &game::Machine::calmLampsChanged, this, &GameSession::rememberCalmLamps);
    window_.chooseZoom(preferences.zoom);
    connect(&window_, &ui::MainWindow::zoomChosen, this, &GameSession::rememberZoom);
    // The volumes too; the sound device takes them whenever it starts.
    applyVolumes(preferences.musicVolume, preferences.effectsVolume);
    connect(&window_, &ui::MainWindow::volumeRequested, this, &GameSession::adjustVolumes);
    // Logging out: the session manager asks for the game to be saved first.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        if (started_ && !ProgramEnded())
            save();
    });
}

GameSession::~GameSession() = default;

void GameSession::connectSound()
{
    using game::Machine;
    // A cue the device cannot play switches the sound off, inside the cue.
    connect(&machine_, &Machine::cue, this, [this](game::Cue c) {
        if (!cuePlayer_.play(c))
            machine_.soundDeviceFailed();
    });
    connect(&machine_, &Machine::musicStopped, this, [this] { cuePlayer_.stopMusic(); });
    connect(&machine_, &Machine::soundStopped, this, [this] { cuePlayer_.stopAll(); });
    connect(&machine_, &Machine::soundSwitchChanged, this, &GameSession::soundSwitchChanged);
}

// The player switched the sound on: the device may start getting ready. The
// start-up's own switch setting readies nothing.
void GameSession::soundSwitchChanged()
{
    const bool on = machine_.soundOn();
    if (started_ && on && !soundWasOn_)
        cuePlayer_.prepare();
    soundWasOn_ = on;
}

// The other preferences are read afresh, so that this keeps whatever else
// changed since the start.
void GameSession::rememberCalmLamps()
{
    ui::Preferences preferences = ui::Preferences::Load();
    preferences.calmLamps = machine_.state().calmLamps;
    preferences.save();
}

void GameSession::rememberZoom(double zoom)
{
    ui::Preferences preferences = ui::Preferences::Load();
    preferences.zoom = zoom;
    preferences.save();
}

void GameSession::applyVolumes(int musicPercent, int effectsPercent)
{
    musicVolume_ = musicPercent;
    effectsVolume_ = effectsPercent;
    sound::backend().setVolume(sound::Device::Sequencer, musicPercent / 100.0);
    sound::backend().setVolume(sound::Device::WaveAudio, effectsPercent / 100.0);
}

// The volume dialog: the volumes apply while the player drags; OK remembers
// them, and the dialog closed any other way has put back those from before.
void GameSession::adjustVolumes()
{
    ui::VolumeDialog dialog(musicVolume_, effectsVolume_, &window_);
    connect(&dialog, &ui::VolumeDialog::volumesChanged, this, &GameSession::applyVolumes);
    ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    ui::Preferences preferences = ui::Preferences::Load();
    preferences.musicVolume = musicVolume_;
    preferences.effectsVolume = effectsVolume_;
    preferences.save();
}

bool GameSession::start()
{
    switch (saved_.open()) {
    case storage::SavedGame::Opened::Fatal:
    case storage::SavedGame::Opened::Running:
        return false;
    case storage::SavedGame::Opened::CheckFailed:
        quitAfterFailedCheck();
        return false;
    case storage::SavedGame::Opened::Play:
        break;
    }
    machine_.startUp(saved_.startValues());
    playHistory_.setDirectory(saved_.directory().path());
    started_ = true;
    Randomize();
    MsgBox(QStringLiteral("現在の確率設定は、") + saved_.denominatorText() + QStringLiteral("分の6に設定されています。"),
           seams::vbInformation, QStringLiteral("ゼルモア"));
    return true;
}

// A failed check: the reset money is saved with the mark 0, then the quit
// path runs without a machine and saves once more. Both saves draw their
// random filler, as they always have.
void GameSession::quitAfterFailedCheck()
{
    const qint64 money = saved_.settingsMoney();
    saved_.dataMark = 0;
    saved_.save(money);
    if (saved_.settings.sound() == game::SoundSwitch::On)
        cuePlayer_.stopAll();
    saved_.save(money);
    EndProgram();
}

// Every way out, the system's requests included. Before the machine has
// started there is nothing to save: the files stay as they are. Once ended,
// a further request (a second signal during the save) changes nothing.
void GameSession::quit()
{
    if (ProgramEnded())
        return;
    if (started_) {
        if (machine_.soundOn())
            cuePlayer_.stopAll();
        save();
        playHistory_.end();
    }
    EndProgram();
}

void GameSession::save()
{
    saved_.takeFrom(machine_);
    saved_.save(machine_.state().money);
}

} // namespace app
