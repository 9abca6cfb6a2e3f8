// SPDX-License-Identifier: MIT
// One game session: the machine, the saved game, the sound and the window,
// wired together. start() runs the start-up, quit() every way out.
#pragma once

#include "app/PlayHistory.h"
#include "app/RunningCopy.h"
#include "game/Machine.h"
#include "sound/CuePlayer.h"
#include "storage/SavedGame.h"
#include "ui/MainWindow.h"

#include <QObject>

#include <optional>

namespace app {

class GameSession : public QObject {
    Q_OBJECT
public:
    // The program's directory is taken from the host seam. The machine's
    // clock runs in real time, or by hand for tests.
    explicit GameSession(game::Clock::Drive drive = game::Clock::Drive::RealTime, QObject* parent = nullptr);
    ~GameSession() override;

    // Loads and checks the saved game and starts the machine. False when the
    // program ends instead: a file could not be read, or the check failed
    // (the reset money has then been saved).
    bool start();
    // Saves the game and ends the program: Escape, the quit item, the close
    // box. A spin in progress ends there, unpaid, as the player chose. Once
    // only: a request during the quit changes nothing.
    void quit();
    // A quit the player did not choose (SIGTERM, SIGINT, SIGHUP), or the
    // session manager asking for a save before a logout. Open prompts close
    // with the answers their closed windows give, the rule that asked goes
    // on to its end, and back in the main event loop the spin in progress is
    // played to its end at once, silently, and paid; then the game is saved
    // and, for an end, the program ends. A request during the save's own
    // message only closes it: there is no second save.
    enum class SystemRequest { Save, End };
    void systemRequest(SystemRequest request);
    // Saves without ending.
    void save();

    game::Machine& machine() { return machine_; }
    storage::SavedGame& saved() { return saved_; }
    sound::CuePlayer& cuePlayer() { return cuePlayer_; }
    ui::MainWindow& window() { return window_; }
    PlayHistory& playHistory() { return playHistory_; }
    // The program's directory, ending in '/'.
    const QString& programDir() const { return programDir_; }

private:
    void connectSound();
    void carryOutSystemRequest();
    enum class Saving { Save, AlreadySaved };
    void end(Saving saving);
    void finishSpinSilently();
    void quitAfterFailedCheck();
    void soundSwitchChanged();
    void rememberCalmLamps();
    void rememberZoom(double zoom);
    void applyVolumes(int musicPercent, int effectsPercent);
    void adjustVolumes();

    const QString programDir_;
    game::Machine machine_;
    storage::SavedGame saved_;
    game::SavedState savedState_; // what the files said, as the start-up and play changed it
    sound::CuePlayer cuePlayer_;
    ui::MainWindow window_;
    PlayHistory playHistory_;
    RunningCopy runningCopy_;
    int musicVolume_ = 100; // percent, as the device has them
    int effectsVolume_ = 100;
    bool soundWasOn_ = false;
    bool started_ = false;
    bool quitting_ = false;
    bool saving_ = false;
    bool silent_ = false;                                     // cues are not played
    std::optional<SystemRequest> pendingRequest_;             // waits for the main event loop
};

} // namespace app
