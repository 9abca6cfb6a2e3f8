// SPDX-License-Identifier: MIT
// The battle of wits, first dialog: a warning to the player who altered the
// files, with the offer to take up the challenge. It returns the player's
// choice; the saved game decides what the choice changes.
#pragma once

#include "platform/Seams.h"
#include "ui/Controls.h"

#include <QDialog>

class QPushButton;

namespace ui {

class WitsWelcomeDialog : public QDialog {
    Q_OBJECT
public:
    explicit WitsWelcomeDialog(QWidget* parent = nullptr);

    // Shows the dialog modally. Closed with its close box (or Escape) it
    // leaves no battle under way.
    seams::WitsChoice choose();

    Image picture;
    Label warningLabel;
    QPushButton* promiseButton = nullptr;
    QPushButton* challengeButton = nullptr;

private:
    void promise();
    void challenge();
    seams::WitsChoice choice_ = seams::WitsChoice::Closed;
};

} // namespace ui
