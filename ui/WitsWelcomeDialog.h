// SPDX-License-Identifier: MIT
// The battle of wits, first dialog: a warning to the player who altered the
// files, with the offer to take up the challenge. It returns the player's
// choice; the start-up rules decide what the choice changes.
#pragma once

#include "game/Prompts.h"

#include <QDialog>

class QPushButton;

namespace ui {

class PictureBox;
class TextLabel;

class WitsWelcomeDialog : public QDialog {
    Q_OBJECT
public:
    explicit WitsWelcomeDialog(QWidget* parent = nullptr);

    // Shows the dialog modally. Closed with its close box (or Escape) it
    // leaves no battle under way.
    game::WitsChoice choose();

    PictureBox* picture = nullptr;
    TextLabel* warningLabel = nullptr;
    QPushButton* promiseButton = nullptr;
    QPushButton* challengeButton = nullptr;

private:
    void promise();
    void challenge();
    game::WitsChoice choice_ = game::WitsChoice::Closed;
};

} // namespace ui
