// The version window: title, version number and a short how-to-play text.
#pragma once

#include "platform/Controls.h"

#include <QDialog>

class QFrame;
class QPushButton;

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget* owner = nullptr);

    ui::Image picIcon;
    ui::Label lblTitle, lblVersion, lblDescription, lblDisclaimer;
    QFrame* Line1[2] = {nullptr, nullptr}; // etched separator: grey over white
    QPushButton* cmdOK = nullptr;

    void Form_Load();
    void cmdOK_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
};
