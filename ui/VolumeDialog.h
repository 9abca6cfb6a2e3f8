// SPDX-License-Identifier: MIT
// The volume dialog (File, "音量"): two sliders, music and effects, 0 to
// 100 %. The volumes apply while the player drags; OK keeps them, Cancel,
// Escape and the close box put back those the dialog opened with. The
// dialog only asks: the session applies and remembers the volumes.
#pragma once

#include <QDialog>

class QPushButton;
class QSlider;

namespace ui {

class TextLabel;

class VolumeDialog : public QDialog {
    Q_OBJECT
public:
    // The volumes in percent; centred on `owner` (the main window) when there
    // is one.
    VolumeDialog(int musicPercent, int effectsPercent, QWidget* owner = nullptr);

    int music() const;
    int effects() const;

    TextLabel* musicHeading = nullptr;
    TextLabel* effectsHeading = nullptr;
    QSlider* musicSlider = nullptr;
    QSlider* effectsSlider = nullptr;
    TextLabel* musicValue = nullptr; // "100%"
    TextLabel* effectsValue = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

signals:
    // A slider moved: the volumes to hear now, in percent.
    void volumesChanged(int music, int effects);

public slots:
    // Puts the sliders back where they were (which reports the volumes the
    // dialog opened with), then closes.
    void reject() override;

private:
    // A row of the dialog: its heading, its slider and the slider's value.
    QSlider* addRow(TextLabel*& heading, const QString& caption, TextLabel*& value, int top, int percent);
    void showValues();

    const int openedMusic_;
    const int openedEffects_;
};

} // namespace ui
