// Scripted seams and a fixture that runs the real main window in its own
// temporary program directory.
#pragma once

#include "app/FrmMain.h"
#include "platform/Seams.h"
#include "tests/support/FakeAudio.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace testing {

// Returns the scripted values in order; running out is a test failure.
class ScriptedRandom : public seams::RandomSource {
public:
    void script(std::initializer_list<double> values);
    void script(const std::vector<double>& values);
    void push(double value) { values_.push_back(value); }
    double next() override;
    bool exhausted() const { return exhausted_; }
    std::size_t remaining() const { return values_.size(); }
    int draws() const { return draws_; }
    void clear();

private:
    std::deque<double> values_;
    bool exhausted_ = false;
    int draws_ = 0;
};

// A reproducible uniform source on [0, 1) for sampled runs: splitmix64, whose
// output depends on nothing but the seed.
class SeededRandom : public seams::RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}
    double next() override;

private:
    std::uint64_t state_;
};

// Records every command the two media controls receive, instead of playing
// anything, and can make chosen commands fail as a broken device would.
// Installed for its lifetime.
class CueRecorder {
public:
    CueRecorder();
    ~CueRecorder();
    CueRecorder(const CueRecorder&) = delete;
    CueRecorder& operator=(const CueRecorder&) = delete;

    // Every command as "music Close", "effect Open YOKOKU.WAV", "music Play ROLL.MID"
    // (music = the Sequencer control, effect = the WaveAudio control; file names
    // without their directory); a command made to fail ends in " failed".
    QStringList log;
    // Only the sounds started (Play commands that succeeded), as "music ROLL.MID"
    // or "effect STOP.WAV".
    QStringList played() const;
    // How many times the music was stopped by a lone "Close" (not the close that
    // begins a cue).
    int musicStops() const;
    void clear() { log.clear(); }
    // Commands for which this returns true fail (the command returns false).
    std::function<bool(const QString& channel, const QString& command, const QString& file)> fail;
};

// The value that makes Int(Rnd * n) come out as k.
constexpr double pick(int k, int n) { return (k + 0.5) / n; }

struct Message {
    QString text;
    int style = 0;
    QString title;
};

// Records every prompt and answers it from a script.
class ScriptedPrompts : public seams::Prompter {
public:
    int msgBox(const QString& prompt, int style, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    void showModal(QDialog& dialog) override;

    std::vector<Message> messages;
    std::deque<int> answers; // for Yes/No boxes; vbOK when empty
    struct Input {
        QString prompt, title, defaultText;
    };
    std::vector<Input> inputs;
    std::deque<QString> inputAnswers; // empty text (Cancel) when empty
    // Each modal dialog is handed to the next handler, which may act on its
    // controls; with no handler left the dialog is simply closed.
    std::deque<std::function<void(QDialog&)>> dialogHandlers;
    QStringList dialogsShown; // class names, in order
    // Called for every message box, before it returns (for example to check state).
    std::function<void(const Message&)> onMessage;

    QStringList texts() const;
};

class TestHost : public seams::Host {
public:
    QString dir;
    bool endedFlag = false;
    int endCount = 0;
    QString programDir() override { return dir; }
    void endProgram() override
    {
        endedFlag = true;
        ++endCount;
    }
    bool ended() const override { return endedFlag; }
};

// One game in a fresh temporary program directory holding copies of the assets.
class Game {
public:
    Game();
    ~Game();
    QString dir() const { return tmp_.path(); }
    QString path(const QString& name) const { return tmp_.path() + QLatin1Char('/') + name; }
    // Creates the main window (does not run Form_Load).
    FrmMain& window();
    // Creates the main window and runs Form_Load.
    FrmMain& start();
    // Starts the game and forgets the start-up's prompts: the machine idle and
    // ready for the first cover click.
    FrmMain& play();
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    void removeFile(const QString& name) const;

    ScriptedRandom rnd;
    ScriptedPrompts prompts;
    TestHost host;
    // The sound device of the game: records cues, plays nothing.
    FakeAudio audio;

private:
    QTemporaryDir tmp_;
    std::unique_ptr<FrmMain> form_;
};

// The asset files the build writes into the program's directory.
QStringList assetFiles();

// ---------------------------------------------------------------- playing spins

// The symbol an image box shows (from its R0n.BMP picture); -1 when empty.
int symbolShown(const ui::Image& box);
// The nine reel rows as digits: left reel top, middle, bottom, then the centre
// and the right reel; '-' marks an empty box and '.' a hidden one.
QString reelFaces(const FrmMain& f);
// The three pay-line symbols, left to right, e.g. "678".
QString payLine(const FrmMain& f);

// The draws of one spin start, in the order the Start button makes them:
// the three reel run lengths (0..8 each, added to 50, 95 and 75), the reach
// draw (0..2) and the lottery number (1..denominator).
std::vector<double> spinDraws(int left, int centre, int right, int reach, int drawNumber,
                              int denominator = 300);

// One Timer1 tick as the player saw it.
struct Tick {
    int waitedMs = 0; // the interval in force before the tick, i.e. the time since the previous one
    QString faces;    // reelFaces() after the tick
};

// Fires Timer1 the way its ticks would come: only while it is enabled, and
// while a reel turns or the all-rotation reach runs; at most maxTicks ticks.
// After each tick, afterTick (if given) is called with the tick's number
// (1, 2, ...) and may look or act, e.g. fire the lamp timers or press a button.
std::vector<Tick> runReels(FrmMain& f, int maxTicks = 2000,
                           const std::function<void(int tickNumber)>& afterTick = {});

// A cover hit on cover A (BET + 1), then Start pressed with the given draws;
// the draws of the spin's later decisions (notices, reach length, ...) follow.
void hitAndStart(Game& game, FrmMain& f, const std::vector<double>& draws,
                 std::initializer_list<double> later = {});

} // namespace testing
