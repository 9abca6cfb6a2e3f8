// SPDX-License-Identifier: MIT
// The battle of wits, failure dialog: shows how many checks have failed so
// far and reveals a hint at 1, 5 and 9 failures; from game::ConsolationFailures
// on it names the player a consolation prize winner. Closed with its close box only.
#pragma once

#include <QDialog>

#include <array>

namespace ui {

class PictureBox;
class RectShape;
class TextLabel;

class WitsFailureDialog : public QDialog {
    Q_OBJECT
public:
    // `failures` decides the hints and the consolation; `count` is the
    // number shown, as the settings file holds it.
    WitsFailureDialog(double failures, const QString& count, QWidget* parent = nullptr);

    PictureBox* picture = nullptr;
    TextLabel* messageLabel = nullptr;
    // "失敗した回数は" n "回です。"
    TextLabel* countHeading = nullptr;
    TextLabel* countLabel = nullptr;
    TextLabel* countUnit = nullptr;
    RectShape* hintFrame = nullptr;
    std::array<TextLabel*, 3> hints{};

protected:
    // No buttons: only the close box closes this dialog, not Escape.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showFailures(double failures, const QString& count);
};

} // namespace ui
