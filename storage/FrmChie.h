// The battle of wits, first dialog: a warning to the player who altered the
// files, with the offer to take up the challenge.
#pragma once

#include "platform/Controls.h"

#include <QDialog>

class QPushButton;

class FrmChie : public QDialog {
    Q_OBJECT
public:
    explicit FrmChie(QWidget* parent = nullptr);

    ui::Label Label1;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    ui::Image Image1;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
};
