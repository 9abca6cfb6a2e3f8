// SPDX-License-Identifier: MIT
#include "ui/TargetDialog.h"

#include "platform/Runtime.h"
#include "ui/Controls.h"
#include "ui/DialogSetup.h"
#include "ui/Dialogs.h"

#include <QKeyEvent>
#include <QPushButton>

namespace ui {

namespace {

constexpr int ClientWidthTwips = 8070;
constexpr int ClientHeightTwips = 2025;

} // namespace

TargetDialog::TargetDialog(QWidget* owner)
    : QDialog(owner)
{
    SetUpFixedDialog(*this, tr("狙い出目の選択　　　選択すると１００＄支払います。"), ClientWidthTwips,
                     ClientHeightTwips);
    buildControls();
    CentreOnOwner(*this, owner);
}

void TargetDialog::buildControls()
{
    for (int k = 1; k <= 9; ++k) {
        auto* symbol = new PictureBox(QRect(240 + 840 * (k - 1), 120, 870, 870), this);
        symbol->setToolTip(tr("この絵柄を選択します。"));
        symbol->setPicture(ProgramFile(QStringLiteral("R0%1.BMP").arg(k)));
        connect(symbol, &PictureBox::clicked, this, [this, k] { chooseSymbol(k); });
        symbols[k - 1] = symbol;
    }
    noneButton = new QPushButton(tr("選択しない"), this);
    noneButton->setGeometry(rt::TwipsRect(720, 1200, 6735, 375));
    noneButton->setToolTip(tr("絵柄を選択しません。１００＄は不要"));
    connect(noneButton, &QPushButton::clicked, this, &QDialog::close);
    noteLabel = new TextLabel(QRect(120, 1680, 7815, 255), this);
    noteLabel->setText(tr("もし、大当たりして狙い目通りだと、得点のさらに１００倍になります."));
}

int TargetDialog::choose()
{
    chosen_ = 0;
    ExecDialog(*this);
    return chosen_;
}

void TargetDialog::chooseSymbol(int k)
{
    chosen_ = k;
    close();
}

void TargetDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ui
