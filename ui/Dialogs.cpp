// SPDX-License-Identifier: MIT
#include "ui/Dialogs.h"
#include "ui/Language.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QPointer>

#include <vector>

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
        LoadQtTranslations();
        // A window of its own, centred over the one that asked: a child would
        // take on the data counter's dark style sheet, whose light labels
        // vanish on the file dialog's light ground.
        QFileDialog dialog(nullptr, title, suggestedPath, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setWindowModality(Qt::ApplicationModal);
        if (over) {
            dialog.adjustSize();
            dialog.move(over->frameGeometry().center() - dialog.rect().center());
        }
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles().value(0);
    }
};

ScreenDialogs screenDialogs;
DialogRunner* currentRunner = &screenDialogs;

int promptsOpen = 0;
bool promptsClosed = false;

struct OpeningWatcher {
    QPointer<QObject> receiver;
    std::function<void()> opening;
};
std::vector<OpeningWatcher> openingWatchers;

// Tells the watchers still alive that a prompt opens, and forgets the others.
void TellPromptOpening()
{
    std::erase_if(openingWatchers, [](const OpeningWatcher& w) { return w.receiver.isNull(); });
    const std::vector<OpeningWatcher> watchers = openingWatchers; // a call may add one
    for (const OpeningWatcher& w : watchers)
        if (w.receiver)
            w.opening();
}

// Counts a prompt open for as long as it lives.
class OpenPrompt {
public:
    OpenPrompt()
    {
        TellPromptOpening();
        ++promptsOpen;
    }
    ~OpenPrompt() { --promptsOpen; }
    OpenPrompt(const OpenPrompt&) = delete;
    OpenPrompt& operator=(const OpenPrompt&) = delete;
};

} // namespace

void installDialogRunner(DialogRunner* runner)
{
    currentRunner = runner ? runner : &screenDialogs;
}

DialogRunner& dialogs()
{
    return *currentRunner;
}

int ExecDialog(QDialog& dialog)
{
    if (promptsClosed)
        return QDialog::Rejected;
    const OpenPrompt open;
    return dialogs().exec(dialog);
}

Answer ShowMessage(const Message& message)
{
    if (promptsClosed)
        return message.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    const OpenPrompt open;
    return dialogs().showMessage(message);
}

QString SaveFileName(QWidget* parent, const QString& title, const QString& suggestedPath, const QString& filter)
{
    if (promptsClosed)
        return {};
    const OpenPrompt open;
    return dialogs().saveFileName(parent, title, suggestedPath, filter);
}

// The prompts on the screen are the visible modal dialogs; a message box and
// the file dialog are dialogs too. Rejecting one ends its event loop as its
// close box would.
void closePrompts()
{
    promptsClosed = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}

void reopenPrompts()
{
    promptsClosed = false;
}

int openPrompts()
{
    return promptsOpen;
}

void OnPromptOpening(QObject* receiver, std::function<void()> opening)
{
    openingWatchers.push_back({receiver, std::move(opening)});
}

} // namespace ui
