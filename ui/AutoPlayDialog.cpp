// SPDX-License-Identifier: MIT
#include "ui/AutoPlayDialog.h"

#include "platform/Runtime.h"
#include "ui/Controls.h"
#include "ui/DialogSetup.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace ui {

namespace {

constexpr int ClientWidthTwips = 5520;
constexpr int ClientHeightTwips = 3360;
constexpr int RowHeightTwips = 315;
constexpr int LeftTwips = 240;
constexpr int NumberLeftTwips = 3840;
constexpr int NumberWidthTwips = 1440;
// The count and the amounts a box shows while its limit is not set.
constexpr int UnsetSpins = 50;
constexpr int UnsetMoneyBelow = 100;
constexpr int UnsetMoneyAtLeast = 1000000;
constexpr int MostSpins = 9999;
constexpr int MostMoney = 99999999;

} // namespace

AutoPlayDialog::AutoPlayDialog(const game::AutoPlayLimits& limits, QWidget* owner)
    : QDialog(owner)
{
    SetUpFixedDialog(*this, tr("オートプレイ"), ClientWidthTwips, ClientHeightTwips);
    noteLabel = new TextLabel(QRect(LeftTwips, 120, ClientWidthTwips - 2 * LeftTwips, 615), this);
    noteLabel->setWordWrap(true);
    noteLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    noteLabel->setText(tr("次のときに止まります。キーを押すか、クリックしても止まります。"));

    const int numberedWidth = NumberLeftTwips - LeftTwips - 60;
    const int plainWidth = ClientWidthTwips - 2 * LeftTwips;
    spinsBox = addCheck(tr("回した回数が次に達したら"), 840, numberedWidth);
    spinsCount = addNumber(spinsBox, 840, 1, MostSpins, limits.spins, UnsetSpins);
    jackpotBox = addCheck(tr("当たりが出たら"), 1200, plainWidth);
    jackpotBox->setChecked(limits.jackpot);
    chanceEndBox = addCheck(tr("スロットチャンスが終わったら"), 1560, plainWidth);
    chanceEndBox->setChecked(limits.chanceEnd);
    moneyBelowBox = addCheck(tr("持ち金が次の額より少なくなったら"), 1920, numberedWidth);
    moneyBelowAmount = addNumber(moneyBelowBox, 1920, 1, MostMoney, limits.moneyBelow, UnsetMoneyBelow);
    moneyAtLeastBox = addCheck(tr("持ち金が次の額以上になったら"), 2280, numberedWidth);
    moneyAtLeastAmount = addNumber(moneyAtLeastBox, 2280, 1, MostMoney, limits.moneyAtLeast, UnsetMoneyAtLeast);
    for (QSpinBox* amount : {moneyBelowAmount, moneyAtLeastAmount})
        amount->setPrefix(QStringLiteral("$"));

    startButton = new QPushButton(tr("開始"), this);
    startButton->setGeometry(rt::TwipsRect(2400, 2820, 1335, 375));
    startButton->setDefault(true);
    connect(startButton, &QPushButton::clicked, this, &QDialog::accept);
    cancelButton = new QPushButton(tr("キャンセル"), this);
    cancelButton->setGeometry(rt::TwipsRect(3855, 2820, 1335, 375));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    CentreOnOwner(*this, owner);
}

QCheckBox* AutoPlayDialog::addCheck(const QString& caption, int top, int widthTwips)
{
    auto* box = new QCheckBox(caption, this);
    box->setGeometry(rt::TwipsRect(LeftTwips, top, widthTwips, RowHeightTwips));
    return box;
}

// The count or amount beside a check box, which takes input only while its
// box is checked.
QSpinBox* AutoPlayDialog::addNumber(QCheckBox* box, int top, int lowest, int highest, std::optional<qint64> value,
                                    int unset)
{
    auto* number = new QSpinBox(this);
    number->setGeometry(rt::TwipsRect(NumberLeftTwips, top, NumberWidthTwips, RowHeightTwips));
    number->setRange(lowest, highest);
    number->setGroupSeparatorShown(true);
    number->setValue(int(std::clamp<qint64>(value.value_or(unset), lowest, highest)));
    box->setChecked(value.has_value());
    number->setEnabled(value.has_value());
    connect(box, &QCheckBox::toggled, number, &QWidget::setEnabled);
    return number;
}

game::AutoPlayLimits AutoPlayDialog::limits() const
{
    auto numberIf = [](const QCheckBox* box, const QSpinBox* number) {
        return box->isChecked() ? std::optional<qint64>(number->value()) : std::nullopt;
    };
    game::AutoPlayLimits chosen;
    if (spinsBox->isChecked())
        chosen.spins = spinsCount->value();
    chosen.jackpot = jackpotBox->isChecked();
    chosen.chanceEnd = chanceEndBox->isChecked();
    chosen.moneyBelow = numberIf(moneyBelowBox, moneyBelowAmount);
    chosen.moneyAtLeast = numberIf(moneyAtLeastBox, moneyAtLeastAmount);
    return chosen;
}

} // namespace ui
