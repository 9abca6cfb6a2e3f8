// SPDX-License-Identifier: MIT
#include "app/GameSession.h"

#include "game/Prompts.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "sound/AudioBackend.h"
#include "sound/CuePlayer.h"
#include "ui/Dialogs.h"
#include "ui/Pictures.h"
#include "ui/Preferences.h"
#include "ui/VolumeDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

#include <utility>

namespace app {

namespace {

QString DirectoryWithSlash(QString dir)
{
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

// Tells what claiming the save directory found. False when another copy
// plays from it or no lock can be made there: the program has then ended.
bool ClaimSaveDirectory(storage::SavedGame& saved)
{
    using Claim = storage::SavedGame::Claim;
    const Claim claim = saved.claimDirectory(ProgramDir());
    game::Notice notice;
    notice.path = claim.path;
    notice.otherPath = claim.otherPath;
    switch (claim.kind) {
    case Claim::Owned:
        return true;
    case Claim::AlreadyRunning:
        // The copy that runs comes to the front as this one says so.
        RunningCopy::call(claim.path);
        [[fallthrough]];
    case Claim::Unlockable:
        notice.kind = claim.kind == Claim::Unlockable ? game::Notice::CannotLock : game::Notice::AlreadyRunning;
        game::prompter().tell(notice);
        EndProgram();
        return false;
    case Claim::PairMoved:
        notice.kind = game::Notice::PairMoved;
        break;
    case Claim::PairNotMoved:
        notice.kind = game::Notice::PairNotMoved;
        break;
    }
    game::prompter().tell(notice);
    return true;
}

// Saves the state with line 1 naming `programDir`; a failure is told, with
// its cause and where, and the game goes on ending.
void SaveOrTell(storage::SavedGame& saved, const game::SavedState& state, const QString& programDir)
{
    const storage::SavedGame::SaveOutcome outcome = saved.save(state, programDir);
    if (outcome.saved)
        return;
    game::Notice notice;
    notice.kind = game::Notice::SaveFailed;
    notice.saveProblem = outcome.problem;
    notice.path = outcome.path;
    notice.earlierSaveKept = outcome.earlierSaveKept;
    game::prompter().tell(notice);
}

// The loader's fatal message, naming the file it could not read.
void TellLoadFailed(const storage::SavedGame& saved, int errorNumber)
{
    game::Notice notice;
    notice.kind = game::Notice::LoadFailed;
    notice.number = errorNumber;
    notice.path = saved.damagedFile();
    game::prompter().tell(notice);
}

// The pictures, tunes and effects the game reads from its directory that
// are not there, or cannot be read, are told once, at the start: the game
// plays on, with stand-ins for the pictures and silence for the sounds.
void TellMissingFiles(const QString& programDir)
{
    game::Notice notice;
    notice.kind = game::Notice::FilesMissing;
    notice.path = QDir(programDir).absolutePath();
    for (const QString& name : ui::ProgramPictures() + sound::CueFiles()) {
        const QFileInfo file(programDir + name);
        if (!file.isFile() || !file.isReadable())
            notice.files << name;
    }
    if (!notice.files.isEmpty())
        game::prompter().tell(notice);
}

} // namespace

GameSession::GameSession(game::Clock::Drive drive, QObject* parent)
    : QObject(parent)
    , programDir_(DirectoryWithSlash(ProgramDir()))
    , machine_(drive)
    , cuePlayer_(programDir_, [this] { return machine_.soundOn(); })
    , window_(machine_, programDir_)
    , playHistory_(machine_, window_)
{
    connectSound();
    connect(&window_, &ui::MainWindow::quitRequested, this, &GameSession::quit);
    // Calm lamps, the window's size and the pace as the player last chose
    // them; each new choice is remembered.
    const ui::Preferences preferences = ui::Preferences::Load();
    machine_.setCalmLamps(preferences.calmLamps);
    connect(&machine_, &game::Machine::calmLampsChanged, this, &GameSession::rememberCalmLamps);
    window_.chooseZoom(preferences.zoom);
    connect(&window_, &ui::MainWindow::zoomChosen, this, &GameSession::rememberZoom);
    window_.choosePace(preferences.pace);
    connect(&window_, &ui::MainWindow::paceChosen, this, [](int pace) {
        ui::Preferences chosen = ui::Preferences::Load();
        chosen.pace = pace;
        chosen.save();
    });
    // A language chosen in the view menu is spoken at once, by every window.
    connect(&window_, &ui::MainWindow::languageChosen, this, [this](ui::Language language) {
        ui::SetLanguage(language);
        window_.showLanguageChecks();
        ui::Preferences chosen = ui::Preferences::Load();
        chosen.language = language;
        chosen.save();
    });
    // Auto play's dialog offers the limits last chosen.
    window_.setAutoPlayLimits(preferences.autoPlay);
    connect(&window_, &ui::MainWindow::autoPlayChosen, this, [](const game::AutoPlayLimits& limits) {
        ui::Preferences chosen = ui::Preferences::Load();
        chosen.autoPlay = limits;
        chosen.save();
    });
    // The volumes too; the sound device takes them whenever it starts.
    applyVolumes(preferences.musicVolume, preferences.effectsVolume);
    connect(&window_, &ui::MainWindow::volumeRequested, this, &GameSession::adjustVolumes);
    // Logging out: the session manager asks for the game to be saved first.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { systemRequest(SystemRequest::Save); });
}

GameSession::~GameSession() = default;

void GameSession::connectSound()
{
    using game::Machine;
    // A cue the device cannot play switches the sound off, inside the cue.
    connect(&machine_, &Machine::cue, this, [this](game::Cue c) {
        if (silent_)
            return;
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
    preferences.calmLamps = machine_.state().lamps.calm();
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
    ui::ExecDialog(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    ui::Preferences preferences = ui::Preferences::Load();
    preferences.musicVolume = musicVolume_;
    preferences.effectsVolume = effectsVolume_;
    preferences.save();
}

// Claims the save directory, loads the files and runs the start-up rules on
// them; then the machine starts. A file that cannot be read is told and ends
// the program with the files untouched.
bool GameSession::start()
{
    if (!ClaimSaveDirectory(saved_))
        return false;
    savedState_ = saved_.load();
    switch (game::RunStartUp(savedState_)) {
    case game::StartOutcome::Damaged:
        TellLoadFailed(saved_, savedState_.errorNumber);
        EndProgram();
        return false;
    case game::StartOutcome::CheckFailed:
        quitAfterFailedCheck();
        return false;
    case game::StartOutcome::Play:
        break;
    }
    game::Machine::StartValues values;
    values.money = savedState_.money;
    values.sound = savedState_.sound;
    values.unlocked = savedState_.unlocked;
    values.denominator = game::DenominatorInForce(savedState_);
    machine_.startUp(values);
    playHistory_.setDirectory(saved_.directory().path());
    runningCopy_.answerCalls(saved_.directory().path(), &window_);
    started_ = true;
    Randomize();
    game::TellCurrentProbability(savedState_);
    TellMissingFiles(programDir_);
    return true;
}

// A failed check: the restart money is saved with the mark of a failed
// check, line 1 naming the program's directory as the system reports it;
// then the quit path runs without a machine and saves once more. Both saves
// draw their random filler, as they always have.
void GameSession::quitAfterFailedCheck()
{
    SaveOrTell(saved_, savedState_, ProgramDir());
    if (savedState_.sound == game::SoundSwitch::On)
        cuePlayer_.stopAll();
    SaveOrTell(saved_, savedState_, ProgramDir());
    EndProgram();
}

// Every way out. Before the machine has started there is nothing to save:
// the files stay as they are.
void GameSession::quit()
{
    if (ProgramEnded() || quitting_)
        return;
    end(Saving::Save);
}

void GameSession::end(Saving saving)
{
    quitting_ = true;
    if (started_) {
        if (machine_.soundOn())
            cuePlayer_.stopAll();
        if (saving == Saving::Save)
            save();
        playHistory_.end();
    }
    EndProgram();
}

// Never from inside a prompt's event loop: the rule that asked would go on
// after the save, and the save would hold its state half changed (the goal's
// money without its reset, a new probability not yet in force). The prompts
// close, and the request is carried out once their loops have unwound.
void GameSession::systemRequest(SystemRequest request)
{
    if (ProgramEnded())
        return;
    if (!started_) {
        // A start-up message: an end leaves the files as they are.
        if (request == SystemRequest::End)
            quit();
        return;
    }
    ui::closePrompts();
    window_.autoPlay().stop();
    if (quitting_)
        return;
    const bool scheduled = pendingRequest_.has_value();
    if (!scheduled || request == SystemRequest::End)
        pendingRequest_ = request;
    if (!scheduled)
        QTimer::singleShot(0, this, &GameSession::carryOutSystemRequest);
}

void GameSession::carryOutSystemRequest()
{
    if (ProgramEnded())
        return;
    if (ui::openPrompts() > 0) {
        QTimer::singleShot(1, this, &GameSession::carryOutSystemRequest);
        return;
    }
    finishSpinSilently();
    ui::reopenPrompts();
    if (*pendingRequest_ == SystemRequest::End) {
        pendingRequest_.reset();
        end(Saving::Save);
        return;
    }
    // The request stays pending through the save: a signal during its
    // message closes it and turns the request into an end, which then comes
    // without a second save.
    save();
    ui::reopenPrompts();
    if (std::exchange(pendingRequest_, std::nullopt) == SystemRequest::End)
        end(Saving::AlreadySaved);
}

void GameSession::finishSpinSilently()
{
    if (!machine_.actions().busy)
        return;
    if (machine_.soundOn())
        cuePlayer_.stopAll();
    silent_ = true;
    machine_.finishSpin();
    silent_ = false;
}

// What the machine changed in play joins the saved state: the money, the
// sound switch, the unlock and a denominator chosen by the probability command.
void GameSession::save()
{
    const game::MachineState& s = machine_.state();
    savedState_.money = s.money;
    savedState_.sound = s.sound;
    savedState_.unlocked = s.unlocked;
    if (const auto chosen = machine_.chosenDenominator())
        savedState_.denominatorText = rt::DecimalText(double(*chosen));
    SaveOrTell(saved_, savedState_, programDir_);
}

} // namespace app
