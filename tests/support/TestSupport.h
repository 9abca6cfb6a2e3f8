// Scripted seams and a fixture that runs the real main window in its own
// temporary program directory.
#pragma once

#include "app/FrmMain.h"
#include "platform/Seams.h"
#include "tests/support/FakeAudio.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>

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
    // The sound device of the game: records cues, plays nothing.
    FakeAudio audio;

private:
    QTemporaryDir tmp_;
    std::unique_ptr<FrmMain> form_;
};

// The asset files the build writes into the program's directory.
QStringList assetFiles();

} // namespace testing
