// SPDX-License-Identifier: MIT
// One line on stderr for a sound that failed where the player was not told.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace sound {

// Notes `reason` as "Zelmor: no sound: <reason>" once the event loop is back
// at the level the failure happened on (no modal box open above it), unless
// the sound has been switched off by then: the spin start tells the player
// about a failing device in a message box and then switches the sound off.
// `owner` is the object that played the sound: once it is gone, the note is
// dropped, and `soundStillOn` is never called.
void NoteFailure(const QString& reason, const QObject* owner, std::function<bool()> soundStillOn);
// Notes still waiting for their moment (tests pump events until this is 0).
int PendingFailureNotes();

} // namespace sound
