// SPDX-License-Identifier: MIT
// The machine as a screen reader finds it. Every control of the main window
// has a name in the current language, taken from the heading the machine
// shows beside it where there is one, and a description holding the value it
// shows: the money, the BET, a cover's face, a reel row's symbol. The covers,
// Start and the STOP buttons are buttons a screen reader can press, and only
// while a click would do something. What changes is spoken through one
// notification of the window's own (see Announcer).
#pragma once

#include "game/MachineState.h"

#include <QObject>
#include <QStringList>
#include <QWidget>

class QLabel;

namespace game {
class Machine;
}

namespace ui {

class MainWindow;

// What the window has to say, as an AT-SPI notification: a hidden, empty
// widget whose accessible name is the message. Qt 6.4 has no announcement
// event, and Qt's AT-SPI bridge drops its Alert event and reports a name or
// description change without the new text; screen readers read those only
// on the object with the focus, which the machine's controls never take. A
// notification that becomes "showing" is read wherever it is, so a message
// is said by hiding the widget, renaming it and showing it again. It stays
// showing until the next message, the last thing said.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);
    void say(const QString& message);
};

// The symbols as a screen reader says them: "10000$" for 0, the digit for
// 1..9, nothing for no symbol.
QString SymbolName(int symbol);

class MachineAccessibility : public QObject {
    Q_OBJECT
public:
    // Names the window's controls and follows the machine's changes. Made
    // after the window has connected to the machine, so that the controls
    // already show a change when it is described.
    MachineAccessibility(MainWindow& window, game::Machine& machine);

    // Names and describes every control again, in the current language.
    void nameControls();

private:
    void describeAmounts();
    void describeReel(game::Reel reel);
    void describeCover(int cover);
    void describeTarget();
    void tellAmount(const QLabel* amount, qint64 value);
    void tellCover(int cover, game::CoverFace face);
    void tellReels();
    // Collects what one turn of the event loop changes into one message, the
    // reels' summary first.
    void tell(const QString& text, bool first = false);
    void sayCollected();

    MainWindow& window_;
    game::Machine& machine_;
    Announcer* announcer_;
    QStringList collected_;
    bool spinning_ = false; // a spin started since the window was made
};

} // namespace ui
