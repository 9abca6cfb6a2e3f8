// SPDX-License-Identifier: MIT
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>

namespace ui {

namespace {

class ScreenDialogs final : public DialogRunner {
public:
    int exec(QDialog& dialog) override { return dialog.exec(); }

    Answer showMessage(const Message& message) override
    {
        const auto box = MakeMessageBox(message);
        return RunMessageBox(*box, message.buttons);
    }

    // Over whichever of the game's windows asked, the data counter's included.
    QString saveFileName(QWidget* parent, const QString& title, const QString& suggestedPath,
                         const QString& filter) override
    {
        QWidget* over = QApplication::activeWindow() ? QApplication::activeWindow() : parent;
        return QFileDialog::getSaveFileName(over, title, suggestedPath, filter);
    }
};

ScreenDialogs screenDialogs;
DialogRunner* currentRunner = &screenDialogs;

} // namespace

void installDialogRunner(DialogRunner* runner)
{
    currentRunner = runner ? runner : &screenDialogs;
}

DialogRunner& dialogs()
{
    return *currentRunner;
}

} // namespace ui
