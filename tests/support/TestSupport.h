// Scripted seams and a fixture that runs the real main window in its own
// temporary program directory.
#pragma once

#include "app/FrmMain.h"
#include "platform/Seams.h"

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
    // without their directory).
    QStringList log;
    // Only the sounds started, as "music ROLL.MID" or "effect STOP.WAV".
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
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    void removeFile(const QString& name) const;

    ScriptedRandom rnd;
    ScriptedPrompts prompts;
    TestHost host;

private:
    QTemporaryDir tmp_;
    std::unique_ptr<FrmMain> form_;
};

// The asset files the build writes into the program's directory.
QStringList assetFiles();

} // namespace testing
