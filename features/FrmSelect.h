// The target-symbol dialog: for $100 the player bets that the next jackpot
// is made of one chosen symbol, which multiplies its payout by 100.
#pragma once

#include "platform/Controls.h"

#include <QDialog>

class FrmMain;
class QPushButton;

class FrmSelect : public QDialog {
    Q_OBJECT
public:
    explicit FrmSelect(FrmMain& main);

    // Image2..Image10 show the symbols 1..9 from left to right.
    ui::Image Image2, Image3, Image4, Image5, Image6, Image7, Image8, Image9, Image10;
    QPushButton* Command1 = nullptr;
    ui::Label Label1;

    void Form_Load();
    void Command1_Click();
    void Form_KeyDown(int keyCode, int shift);
    // Buys symbol k (1..9) as the target and closes the dialog.
    void ChooseSymbol(int k);
    // The image box that shows symbol k (1..9).
    ui::Image& SymbolImage(int k);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    FrmMain& main_;
};
