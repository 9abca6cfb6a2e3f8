// SPDX-License-Identifier: MIT
// Scripted seams and the machine rig: the game library driven by calls, with
// scripted random numbers and prompt answers. Needs Qt Core and Qt Test only.
#pragma once

#include "game/Machine.h"
#include "platform/Seams.h"

#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
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

// A reproducible uniform source on [0, 1) for sampled runs: splitmix64.
class SeededRandom : public seams::RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}
    double next() override;

private:
    std::uint64_t state_;
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
    int chooseTarget() override;
    seams::WitsChoice witsWelcome() override;
    void witsFailure(double failures) override;
    void showModal(QDialog& dialog) override;
    QString saveFileName(const QString& title, const QString& suggestedPath, const QString& filter) override;

    std::vector<Message> messages;
    std::deque<int> answers; // for Yes/No boxes; vbYes when empty
    struct Input {
        QString prompt, title, defaultText;
    };
    std::vector<Input> inputs;
    std::deque<QString> inputAnswers;   // empty text (Cancel) when empty
    std::deque<int> targetAnswers;      // 0 (none) when empty
    int targetDialogs = 0;
    std::deque<QString> savePaths;      // Cancel (an empty path) when empty
    std::deque<seams::WitsChoice> witsAnswers; // Closed when empty
    int witsWelcomes = 0;
    std::vector<double> witsFailures;   // the counts the failure dialog showed
    // Every prompt (message, input, target, wits) in order, by kind and text.
    QStringList shown;
    // Each modal dialog is handed to the next handler; none left: it is closed.
    std::deque<std::function<void(QDialog&)>> dialogHandlers;
    // Called for every message box before it returns, e.g. to fire timers
    // as if they ran while the box was open.
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

// Installs scripted random numbers and prompts for its lifetime.
class Seams {
public:
    Seams();
    ~Seams();
    Seams(const Seams&) = delete;
    Seams& operator=(const Seams&) = delete;
    ScriptedRandom rnd;
    ScriptedPrompts prompts;
    TestHost host;
};

// The machine with its signals recorded.
class MachineRig : public Seams {
public:
    // A machine started with the given sound switch (sound on by default), money 100.
    explicit MachineRig(game::SoundSwitch soundSwitch = game::SoundSwitch::On);
    game::Machine machine;
    const game::MachineState& s() const { return machine.state(); }
    game::MachineState& edit() { return machine.editState(); }

    // Every cue as its name ("Roll", "Notice", ...), every music stop as
    // "stop music" and every close of both channels as "stop all".
    QStringList sound;
    QStringList cues() const;   // the cues only
    int musicStops() const;
    // Cues for which this returns true fail as a broken device would.
    std::function<bool(game::Cue)> failCue;
    // Timer intervals and enabled flags as set, e.g. "reel 75", "reel on", "notice 500".
    QStringList timers;
    void clearLogs();

    // A cover hit on cover A, then Start pressed with the given draws; the
    // later draws (notices, reach length...) follow.
    void hitAndStart(const std::vector<double>& draws, std::initializer_list<double> later = {});
};

QString CueName(game::Cue cue);

// The nine reel rows as digits: left reel top, middle, bottom, then the
// centre and right reels; '-' marks an empty row and '.' a hidden one.
QString reelFaces(const game::MachineState& s);
// The three pay-line symbols, left to right, e.g. "678".
QString payLine(const game::MachineState& s);

// The draws of one spin start, in the order Start makes them: the three run
// lengths (0..8 each), the reach draw (0..2) and the lottery (1..denominator).
std::vector<double> spinDraws(int left, int centre, int right, int reach, int drawNumber, int denominator = 300);

struct Tick {
    int waitedMs = 0; // the reel timer's interval before the tick
    QString faces;    // reelFaces() after the tick
};

// Fires the reel tick the way its timer would: only while enabled and while a
// reel turns or the all-rotation reach runs; at most maxTicks ticks. After
// each, afterTick (if given) gets the tick's number (1, 2, ...).
std::vector<Tick> runReels(game::Machine& machine, int maxTicks = 2000,
                           const std::function<void(int tickNumber)>& afterTick = {});

} // namespace testing
