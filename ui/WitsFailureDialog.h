// SPDX-License-Identifier: MIT
// The battle of wits, failure dialog: shows how many checks have failed so
// far and reveals a hint at 1, 5 and 9 failures; from 10 failures on it names
// the player a consolation prize winner. Closed with its close box only.
#pragma once

#include "ui/Controls.h"

#include <QDialog>

#include <array>

namespace ui {

class WitsFailureDialog : public QDialog {
    Q_OBJECT
public:
    explicit WitsFailureDialog(double failures, QWidget* parent = nullptr);

    Image picture;
    Label messageLabel;
    Label countHeading, countLabel, countUnit; // "失敗した回数は" n "回です。"
    Shape hintFrame;
    std::array<Label, 3> hints;

protected:
    // No buttons: only the close box closes this dialog, not Escape.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showFailures(double failures);
};

} // namespace ui
