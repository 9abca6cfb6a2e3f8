// SPDX-License-Identifier: MIT
// Everything outside the program's control comes in through these seams.
// main.cpp wires them to the real thing; tests install scripted stand-ins.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace seams {

// Uniform random numbers on [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
    virtual void randomize() {}
};

// Message-box styles and answers, with the classic values.
enum MsgStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbCritical = 16,
    vbExclamation = 48,
    vbInformation = 64,
};
enum MsgAnswer : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// The first battle-of-wits dialog's outcome.
enum class WitsChoice {
    Closed,    // closed with its close box: no battle under way
    Promise,   // "I will not change the files again": the battle is off
    Challenge, // the player takes up the battle
};

// Modal prompts: message boxes, the input box and the game's modal dialogs.
// Each returns the player's answer; none changes the game itself.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Returns the button pressed (vbOK, vbYes or vbNo).
    virtual int msgBox(const QString& prompt, int style, const QString& title) = 0;
    // Returns the text entered, or an empty text for Cancel.
    virtual QString inputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // The target-symbol dialog: the symbol bought, 1..9, or 0 for none.
    virtual int chooseTarget() = 0;
    // The battle of wits: the welcome dialog, and the failure dialog that
    // shows the number of failed checks (and the consolation prize from 10 on).
    virtual WitsChoice witsWelcome() = 0;
    virtual void witsFailure(double failures) = 0;
    // Shows any other dialog modally and returns when it has closed.
    virtual void showModal(QDialog& dialog) = 0;
    // Asks where to write a file: the path chosen, or an empty text for Cancel.
    virtual QString saveFileName(const QString& title, const QString& suggestedPath, const QString& filter)
    {
        Q_UNUSED(title);
        Q_UNUSED(suggestedPath);
        Q_UNUSED(filter);
        return {};
    }
};

// The program's directory and ending the program.
class Host {
public:
    virtual ~Host() = default;
    virtual QString programDir() = 0;
    // Ends the program: no further events are handled after this.
    virtual void endProgram() = 0;
    virtual bool ended() const = 0;
};

// Installs a seam; passing nullptr restores the default. The default prompter
// answers OK, Cancel and "none" without showing anything: the game installs
// its dialogs at start-up (ui/DialogPrompter.h).
void install(RandomSource* source);
void install(Prompter* prompter);
void install(Host* host);

RandomSource& random();
Prompter& prompter();
Host& host();

} // namespace seams

// The game's view of the seams.
double Rnd();
void Randomize();
int MsgBox(const QString& prompt, int style = seams::vbOKOnly, const QString& title = QString());
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText);
void ShowModal(QDialog& dialog);
QString SaveFileName(const QString& title, const QString& suggestedPath, const QString& filter);
QString ProgramDir();
void EndProgram();
bool ProgramEnded();
