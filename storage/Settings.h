// SPDX-License-Identifier: MIT
// The settings file "Zelmor.ini" as a typed value. Only this header and
// Settings.cpp know which line holds what and which words it holds.
#pragma once

#include "game/StartUp.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace storage {

struct Settings {
    // Texts the game reads and writes, as they stand in the file.
    QString savedDirectory; // the program's directory at the last save; empty at a first start
    QString money;          // the money as decimal text
    QString soundSwitch;    // "0" sound on, "1" no sound, anything else: silent and unchecked
    QString moneyLength;    // characters of the money text (written, never read)
    QString battleStatus;   // the battle of wits: empty, BattleTaken or Consolation
    QString failureCount;   // failed checks during the battle; any text, counted by its numeric value
    QString unlockFlag;     // "1" ...
    QString unlockStatus;   // ... and "ChosenGuest": the probability change is unlocked
    QString denominator;    // the jackpot probability's denominator; empty means 300
    // The lines the game never uses, kept byte for byte.
    std::array<QByteArray, 21> unusedLines{};

    static inline const QString BattleTaken = QStringLiteral("絶対解除する");
    static inline const QString Consolation = QStringLiteral("あなたは残念賞と認定されました。");

    // Line 1 names the directory of a save; empty, the next start is a first one.
    bool everSaved() const { return !savedDirectory.isEmpty(); }
    // The money in whole dollars: rounded once, half to even, and held at
    // fifteen digits, which no play reaches, so that no sum overflows. Below
    // zero it is 0: no play leaves less, and with less the game could go on
    // neither with a cover nor with a loan.
    qint64 wholeMoney() const;
    // Writes the money as decimal text, and its length.
    void setMoney(qint64 dollars);
    game::SoundSwitch sound() const;
    // On and Off write "0" and "1"; Unset leaves the text as it is.
    void setSound(game::SoundSwitch sound);
    bool unlocked() const;
    void unlock();
    // Empty is no battle, the consolation words the consolation, and any
    // other text (BattleTaken, or what a hand wrote) a battle taken up.
    game::WitsStatus wits() const;
    void setWits(game::WitsStatus wits);
    double failures() const;
    void setFailures(double failures);
};

// Reads the first 30 lines of the file's bytes. A line ends at CR LF, CR or
// LF (a hand edit may leave any of them); anything after the 30th line is
// ignored. Throws RuntimeError 62 (input past end of file) when the bytes
// hold fewer than 30 lines. The lines the game uses are Shift-JIS text: one
// that is not (bytes that are no Shift-JIS, NUL or another control character
// but the tab) makes the bytes no settings file, RuntimeError 5. The unused
// lines are kept as bytes, whatever they hold.
Settings DecodeSettings(const QByteArray& bytes);

// Writes the 30 lines, each followed by CR LF: the used ones in Shift-JIS,
// the unused ones byte for byte as they were read.
QByteArray EncodeSettings(const Settings& settings);

} // namespace storage
