// SPDX-License-Identifier: MIT
// Scripted seams and the machine rig: the game library driven by calls, with
// scripted random numbers and prompt answers. Needs Qt Core and Qt Test only.
#pragma once

#include "game/Machine.h"
#include "game/Prompts.h"
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

// Records every notice and question and answers each question from a script.
class ScriptedPrompts : public game::Prompter {
public:
    void tell(const game::Notice& notice) override;
    int askTarget() override;
    QString askDenominator(const QString& current) override;
    game::WitsChoice askWits() override;

    std::vector<game::Notice> notices;
    std::deque<int> targetAnswers;             // 0 (none) when empty
    int targetQuestions = 0;
    std::vector<QString> denominatorQuestions; // the current text each showed
    std::deque<QString> inputAnswers;          // empty text (Cancel) when empty
    std::deque<game::WitsChoice> witsAnswers;  // Closed when empty
    int witsQuestions = 0;
    // Every notice and question in order: "Bust", "Goal 10000060", "target",
    // "denominator 300", "wits"...
    QStringList shown;
    // Called for every notice before it returns, e.g. to fire timers as if
    // they ran while the box was open.
    std::function<void(const game::Notice&)> onNotice;

    // The notices' kinds in order.
    std::vector<game::Notice::Kind> kinds() const;
    bool told(game::Notice::Kind kind) const;
};

// A notice kind's name, as ScriptedPrompts::shown lists it.
QString NoticeName(game::Notice::Kind kind);

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
    // A machine started with the given sound switch (sound on by default),
    // money 100, its clock stepped by hand.
    explicit MachineRig(game::SoundSwitch soundSwitch = game::SoundSwitch::On);
    game::Machine machine{game::Clock::Drive::ByHand};
    const game::MachineState& s() const { return machine.state(); }
    game::MachineState& edit() { return machine.editState(); }

    // Every cue as its name ("Roll", "Notice", ...), every music stop as
    // "stop music" and every close of both channels as "stop all".
    QStringList sound;
    QStringList cues() const;   // the cues only
    int musicStops() const;
    // Cues for which this returns true fail as a broken device would.
    std::function<bool(game::Cue)> failCue;
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

// Fires the reel tick the way its timer would: only while it runs and while a
// reel turns or the all-rotation reach runs; at most maxTicks ticks. After
// each, afterTick (if given) gets the tick's number (1, 2, ...).
std::vector<Tick> runReels(game::Machine& machine, int maxTicks = 2000,
                           const std::function<void(int tickNumber)>& afterTick = {});

// Every fact and event of play the machine signals, one line each, in order:
// "money 90", "bet 1", "cover 0 Hit", "actions covers start", "reel L 765",
// "frame Lit", "paid 7 600", "spin ended"... Cues are MachineRig::sound's.
class SignalLog {
public:
    explicit SignalLog(const game::Machine& machine);
    QStringList lines;
    // The lines grouped by fact, each fact's lines in the order they came,
    // so that only the order between different facts is left open.
    QStringList byFact() const;
    static QStringList byFact(const QString& joined); // lines joined with " | "
    // The lines of facts (not events, not reel draws) that repeat the value
    // their fact last signalled: a signal that changed nothing.
    QStringList repeats() const;

private:
    QObject context_;
};

// What the player can do, as the live actions' names: "covers start stopL busy", or "none".
QString actionsText(const game::Actions& actions);

} // namespace testing
