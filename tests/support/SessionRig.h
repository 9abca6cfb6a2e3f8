// SPDX-License-Identifier: MIT
// A whole game session in a fresh temporary program directory: the scripted
// seams of Rig.h, the recording sound backend and the real machine, saved
// game, sound channels and main window, wired as the program wires them. The
// machine's clock is stepped by hand: nothing ticks unless the test says so.
#pragma once

#include "app/GameSession.h"
#include "tests/support/FakeAudio.h"
#include "tests/support/Rig.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTemporaryDir>

#include <memory>

namespace testing {

class SessionRig : public Seams {
public:
    // Copies the built pictures and sounds into the directory; no session yet.
    SessionRig();
    ~SessionRig();

    QString dir() const { return tmp_.path(); }
    QString path(const QString& name) const { return tmp_.path() + QLatin1Char('/') + name; }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    void removeFile(const QString& name) const;

    // The session, created on first use (after the files are in place).
    app::GameSession& session();
    game::Machine& machine() { return session().machine(); }
    ui::MainWindow& window() { return session().window(); }
    const game::MachineState& s() { return machine().state(); }

    // Runs the start-up; its result.
    bool start();
    // Starts the game, which must come up playing, and forgets the start-up's
    // prompts: the machine idle and ready for the first cover click.
    app::GameSession& play();
    // Destroys the session with its window, as the end of main() does.
    void endSession() { session_.reset(); }

    // The sound device of the session: records, plays nothing.
    FakeAudio audio;
    // The window's own message boxes and dialogs: the history's, the
    // version window, the volumes.
    ScriptedDialogs dialogs;

private:
    QTemporaryDir tmp_;
    std::unique_ptr<app::GameSession> session_;
};

// The picture and sound files the build writes into the program's directory.
QStringList assetFiles();

} // namespace testing
