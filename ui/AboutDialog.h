// SPDX-License-Identifier: MIT
// The version window: title, version number and a short how-to-play text.
#pragma once

#include <QDialog>

#include <array>

class QFrame;
class QPushButton;

namespace ui {

class PictureBox;
class TextLabel;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* owner = nullptr);

    PictureBox* icon = nullptr;
    TextLabel* titleLabel = nullptr;
    TextLabel* versionLabel = nullptr;
    TextLabel* descriptionLabel = nullptr;
    TextLabel* creditsLabel = nullptr;
    std::array<QFrame*, 2> separator{}; // etched line: grey over white
    QPushButton* okButton = nullptr;

protected:
    // OK is both the default and the cancel button: Enter and Escape press it too.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
};

} // namespace ui
