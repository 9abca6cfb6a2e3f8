// The battle of wits, failure dialog: counts the failed attempts in settings
// line 6 and reveals a hint at 1, 5 and 9 failures. Closed with its close box.
#pragma once

#include "platform/Controls.h"

#include <QDialog>

class FrmKurabe : public QDialog {
    Q_OBJECT
public:
    explicit FrmKurabe(QWidget* parent = nullptr);

    ui::Label Label1, Label2, Label3, Label4, Label5, Label6, Label7;
    ui::Shape Shape1;
    ui::Image Image1;

    void Form_Load();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
