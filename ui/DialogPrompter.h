// SPDX-License-Identifier: MIT
// The game's notices and questions as the player sees them: each notice in
// its message box (or the battle of wits' failure dialog), the target-symbol
// dialog, the probability command's input box and the battle of wits'
// welcome. main.cpp installs it as the game's prompter; everything it shows
// runs through the dialog seam (ui/Dialogs.h).
#pragma once

#include "game/Prompts.h"

#include <QPointer>
#include <QWidget>

namespace ui {

class DialogPrompter final : public game::Prompter {
public:
    // The window the game's dialogs belong to (the main window), for their
    // placing and its pointer; none until it exists.
    void setOwner(QWidget* owner) { owner_ = owner; }

    void tell(const game::Notice& notice) override;
    int askTarget() override;
    QString askDenominator(const QString& current) override;
    game::WitsChoice askWits() override;

private:
    QPointer<QWidget> owner_;
};

} // namespace ui
