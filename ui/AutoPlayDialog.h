// SPDX-License-Identifier: MIT
// The auto play dialog (View, "オートプレイ"): when auto play is to hand the
// machine back by itself. Each limit has its check box; a count or an
// amount goes with some. The dialog only asks: the window starts auto play
// and the session remembers the limits.
#pragma once

#include "game/AutoPlay.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace ui {

class TextLabel;

class AutoPlayDialog : public QDialog {
    Q_OBJECT
public:
    // Opens with `limits` checked; centred on `owner` (the main window) when
    // there is one.
    explicit AutoPlayDialog(const game::AutoPlayLimits& limits, QWidget* owner = nullptr);

    // The limits as checked and entered now.
    game::AutoPlayLimits limits() const;

    TextLabel* noteLabel = nullptr;
    QCheckBox* spinsBox = nullptr;
    QSpinBox* spinsCount = nullptr;
    QCheckBox* jackpotBox = nullptr;
    QCheckBox* chanceEndBox = nullptr;
    QCheckBox* moneyBelowBox = nullptr;
    QSpinBox* moneyBelowAmount = nullptr;
    QCheckBox* moneyAtLeastBox = nullptr;
    QSpinBox* moneyAtLeastAmount = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    QCheckBox* addCheck(const QString& caption, int top, int widthTwips);
    QSpinBox* addNumber(QCheckBox* box, int top, int lowest, int highest, std::optional<qint64> value,
                        int unset);
};

} // namespace ui
