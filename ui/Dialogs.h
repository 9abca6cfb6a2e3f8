// SPDX-License-Identifier: MIT
// The seam through which the game's windows run everything modal: their
// dialogs, message boxes and the save-file dialog. By default they show on
// the screen; tests install a runner that answers from a script.
#pragma once

#include "ui/MessageBox.h"

#include <QString>

class QDialog;
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

// Shorthands for the windows.
inline int ExecDialog(QDialog& dialog) { return dialogs().exec(dialog); }
inline Answer ShowMessage(const Message& message) { return dialogs().showMessage(message); }

} // namespace ui
