// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

class QFont;
class QString;

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

// The face every control of the game uses.
inline constexpr const char16_t* GameFontFamily = u"ＭＳ Ｐゴシック";
inline constexpr const char16_t* MinchoFontFamily = u"ＭＳ 明朝";

} // namespace ui
