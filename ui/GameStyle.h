// SPDX-License-Identifier: MIT
// The game's widget style: the desktop's own style, with the game's message
// box icons and nothing looked up in the desktop's icon theme while the
// start-up builds its first windows.
#pragma once

#include <QProxyStyle>

namespace ui {

class GameStyle final : public QProxyStyle {
public:
    GameStyle() = default;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace ui
