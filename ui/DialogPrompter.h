// SPDX-License-Identifier: MIT
// The game's prompts as the player sees them: message boxes, the input box,
// the target-symbol dialog and the battle-of-wits dialogs. main.cpp installs
// it as the prompt seam.
#pragma once

#include "platform/Seams.h"

#include <QPointer>
#include <QWidget>

namespace ui {

class DialogPrompter final : public seams::Prompter {
public:
    // The window the game's dialogs belong to (the main window), for their
    // placing; none until it exists.
    void setOwner(QWidget* owner) { owner_ = owner; }

    int msgBox(const QString& prompt, int style, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    int chooseTarget() override;
    seams::WitsChoice witsWelcome() override;
    void witsFailure(double failures) override;
    void showModal(QDialog& dialog) override;
    QString saveFileName(const QString& title, const QString& suggestedPath, const QString& filter) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace ui
