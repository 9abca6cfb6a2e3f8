// SPDX-License-Identifier: MIT
// The seam through which the game's windows run everything modal: their
// dialogs, message boxes and the save-file dialog. By default they show on
// the screen; tests install a runner that answers from a script.
#pragma once

#include "ui/MessageBox.h"

#include <QString>

#include <functional>

class QDialog;
class QObject;
class QWidget;

namespace ui {

class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // Shows the dialog modally and returns its result once it has closed.
    virtual int exec(QDialog& dialog) = 0;
    // Shows a message box and returns the button pressed.
    virtual Answer showMessage(const Message& message) = 0;
    // Asks where to write a file, over `parent` unless another of the game's
    // windows is active: the path chosen, or an empty text for Cancel.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& suggestedPath,
                                 const QString& filter) = 0;
};

// Installs the runner every modal prompt goes through; nullptr restores the
// one that shows them.
void installDialogRunner(DialogRunner* runner);
DialogRunner& dialogs();

// Every modal prompt of the game goes through these: they count the prompts
// open, one inside another, and answer at once while prompts are closed.
int ExecDialog(QDialog& dialog);
Answer ShowMessage(const Message& message);
QString SaveFileName(QWidget* parent, const QString& title, const QString& suggestedPath, const QString& filter);

// A quit the player did not choose (a signal, a logout) must not wait for the
// player: closePrompts() closes every prompt open now, each with the answer
// its closed window gives (Rejected, OK, No, Cancel), and answers every later
// one the same way without showing it, until reopenPrompts().
void closePrompts();
void reopenPrompts();
// How many prompts are open now; 0 when no nested event loop of a prompt runs.
int openPrompts();
// Calls `opening` as each prompt opens, before it shows, for as long as
// `receiver` lives: auto play hands the machine back when the game asks or
// tells the player anything.
void OnPromptOpening(QObject* receiver, std::function<void()> opening);

} // namespace ui
