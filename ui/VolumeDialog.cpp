// SPDX-License-Identifier: MIT
#include "ui/VolumeDialog.h"

#include "platform/Runtime.h"
#include "ui/Controls.h"
#include "ui/DialogSetup.h"

#include <QPushButton>
#include <QSlider>

namespace ui {

namespace {

constexpr int ClientWidthTwips = 4800;
constexpr int ClientHeightTwips = 1800;
constexpr int RowHeightTwips = 315;

QString Percent(int value)
{
    return QStringLiteral("%1%").arg(value);
}

} // namespace

VolumeDialog::VolumeDialog(int musicPercent, int effectsPercent, QWidget* owner)
    : QDialog(owner)
    , openedMusic_(musicPercent)
    , openedEffects_(effectsPercent)
{
    SetUpFixedDialog(*this, tr("音量"), ClientWidthTwips, ClientHeightTwips);
    musicSlider = addRow(musicHeading, tr("音楽"), musicValue, 240, musicPercent);
    effectsSlider = addRow(effectsHeading, tr("効果音"), effectsValue, 720, effectsPercent);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setGeometry(rt::TwipsRect(1680, 1260, 1335, 375));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    cancelButton = new QPushButton(tr("キャンセル"), this);
    cancelButton->setGeometry(rt::TwipsRect(3135, 1260, 1335, 375));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    CentreOnOwner(*this, owner);
}

QSlider* VolumeDialog::addRow(TextLabel*& heading, const QString& caption, TextLabel*& value, int top, int percent)
{
    heading = new TextLabel(QRect(240, top, 900, RowHeightTwips), this);
    heading->setText(caption);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setGeometry(rt::TwipsRect(1200, top, 2580, RowHeightTwips));
    slider->setRange(0, 100);
    slider->setPageStep(10);
    slider->setValue(percent);
    value = new TextLabel(QRect(3840, top, 720, RowHeightTwips), this);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setText(Percent(slider->value()));
    connect(slider, &QSlider::valueChanged, this, [this] {
        showValues();
        emit volumesChanged(music(), effects());
    });
    return slider;
}

int VolumeDialog::music() const
{
    return musicSlider->value();
}

int VolumeDialog::effects() const
{
    return effectsSlider->value();
}

void VolumeDialog::showValues()
{
    musicValue->setText(Percent(music()));
    effectsValue->setText(Percent(effects()));
}

void VolumeDialog::reject()
{
    musicSlider->setValue(openedMusic_);
    effectsSlider->setValue(openedEffects_);
    QDialog::reject();
}

} // namespace ui
