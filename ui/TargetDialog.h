// SPDX-License-Identifier: MIT
// The target-symbol dialog: for $100 the player bets that the next jackpot
// is made of one chosen symbol, which multiplies its payout by 100. The
// dialog only asks; the machine charges and remembers the choice.
#pragma once

#include <QDialog>

#include <array>

class QPushButton;

namespace ui {

class PictureBox;
class TextLabel;

class TargetDialog : public QDialog {
    Q_OBJECT
public:
    // Centred on `owner` (the main window) when there is one.
    explicit TargetDialog(QWidget* owner = nullptr);

    // Shows the dialog modally: the symbol chosen, 1..9, or 0 for none.
    int choose();
    int chosen() const { return chosen_; }

    // symbols[k - 1] shows symbol k, left to right.
    std::array<PictureBox*, 9> symbols{};
    QPushButton* noneButton = nullptr;
    TextLabel* noteLabel = nullptr;

protected:
    // Only Escape means anything: it closes without a choice.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void chooseSymbol(int k);
    int chosen_ = 0;
};

} // namespace ui
