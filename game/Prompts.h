// SPDX-License-Identifier: MIT
// What the game tells the player and what it asks, as typed values. The game
// raises them through the prompter; the window words each one (its text,
// title, icon and buttons) and shows it modally. Tests answer them from a script.
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace game {

// Why the save files could not be written. Each leaves the pair of the
// previous save as it was, except Unfinished.
enum class SaveProblem {
    HeldByAnotherProgram, // another program holds a write lock on a file, or the system has it busy
    DiskFull,             // no space, no inode or no quota left
    NotWritable,          // no permission, a read-only file system, or a read-only file
    InTheWay,             // a directory, a FIFO, a device or a link to nothing where a file must go
    Unfinished,           // the settings file replaced, the new data file left beside the old one:
                          // the next start puts it in place
    Other,                // any other failure of the system, such as an I/O error
};

struct Notice {
    enum Kind {
        // Play
        BetLimit,           // a cover clicked at the highest BET
        SoundDeviceFailed,  // the sound device failed as a spin started: the sound is now off
        Bust,               // a slot-chance spin lost: the slot chance is over
        Goal,               // the goal reached: the money restarts and the probability command unlocks
        LoanNotNeeded,      // a loan asked for with money in hand
        LoanRefused,        // the $100 loan refused; `number` is the excuse, 1..3
        BigLoanRefused,     // the $1000 loan refused
        ProbabilityChanged, // the probability command's result; `number` is the denominator
        // Start-up
        Welcome,            // a first start
        DenominatorRefused, // line 30 held a denominator below 6; 300 is used
        CheckPassed,        // the check passed after a failed one: the probability may be changed
        WitsFailure,        // the battle of wits: `number` failed checks (`text`: the count as the settings file gets it), the consolation from ConsolationFailures on
        CurrentProbability, // the probability in force; `text` is the denominator the draws use, as decimal text
        // The files
        AlreadyRunning,     // another copy plays from the files in `path`
        CannotLock,         // the lock file `path` can be neither made nor opened: the game ends, the files untouched
        PairMoved,          // the pair was copied from the program's directory `path` to `otherPath`
        PairNotMoved,       // the pair in `path` could not be copied to `otherPath`: nothing will be saved
        LoadFailed,         // the file `path` could not be read; `number` is the runtime error
        SaveFailed,         // the files could not be written: `saveProblem` at `path`
        FilesMissing,       // the program's directory `path` lacks the pictures, tunes or effects `files`: play goes on without them
    };
    Kind kind = BetLimit;
    qint64 number = 0;
    QString text;
    QString path;
    QString otherPath;
    SaveProblem saveProblem = SaveProblem::HeldByAnotherProgram;
    QStringList files;
    bool earlierSaveKept = true; // SaveFailed: the files of an earlier save are there, as they were
};

// The battle of wits' welcome: how the player answered.
enum class WitsChoice {
    Closed,    // closed with its close box: no battle under way
    Promise,   // "I will not change the files again": the battle is off
    Challenge, // the player takes up the battle
};

// The questions the game asks, one method each, and the notices it raises.
// Each call returns once the player has answered or closed the prompt.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void tell(const Notice& notice) = 0;
    // The target offer: the symbol bought, 1..9, or 0 for none.
    virtual int askTarget() = 0;
    // The probability command: the denominator as entered, or an empty text for Cancel.
    virtual QString askDenominator(const QString& current) = 0;
    // The battle of wits, offered after a failed check.
    virtual WitsChoice askWits() = 0;
};

// Installs the prompter the game uses; nullptr restores the silent default,
// which shows nothing and answers "none", Cancel and a closed window.
void installPrompter(Prompter* prompter);
Prompter& prompter();

// Shorthands for the rules.
void tell(Notice::Kind kind, qint64 number = 0);

} // namespace game
