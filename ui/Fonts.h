// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

class QFont;
class QSize;
class QString;
class QWidget;

namespace ui {

// The game's texts name the classic Japanese Windows faces; map them to the
// IPA fonts that Debian ships so that Japanese text renders properly.
void installFontSubstitutions();

// The 9 pt game face that every window and dialog of the game uses.
QFont GameFont();
// The installed face the game's "ＭＳ Ｐゴシック" maps to (IPAPGothic on Debian).
QString GameFace();

// Whether text in this font, on a screen of this pixel ratio, would lose its
// bold: faces without a bold weight (the IPA fonts) are emboldened fully by
// Qt only on a screen of ratio 1 and up to 64 pixels; larger text (a zoomed
// window) comes out thin, and on denser screens half bold.
bool LosesSyntheticBold(const QFont& font, qreal devicePixelRatio);
// The pen width that thickens outlines as the synthetic bold does: an
// em of the given pixel size over 24.
qreal SyntheticBoldWidth(qreal pixelSize);

// Places a top-level window at the centre of its screen (frame included).
void CentreOnScreen(QWidget& window);
// The frame the window manager puts around a top-level window; before it has
// framed a window not yet shown, room for a usual title bar and border.
QSize WindowFrame(const QWidget& window);
// Puts a window beside another on its screen: to its right, or else to its
// left, below or above, where the whole window fits beside it; where none
// does, at the place on the screen that covers the least of the other.
void PlaceBeside(QWidget& window, const QWidget& beside);
// Where PlaceBeside puts a window of `size` (frame included) beside `other`
// on a screen whose free area is `room`.
QPoint PlaceBesidePosition(const QRect& room, const QRect& other, const QSize& size);

// The face every control of the game uses.
inline constexpr const char16_t* GameFontFamily = u"ＭＳ Ｐゴシック";
inline constexpr const char16_t* MinchoFontFamily = u"ＭＳ 明朝";

} // namespace ui
