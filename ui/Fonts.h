#pragma once

class QFont;
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

// Places a top-level window at the centre of its screen (frame included).
void CentreOnScreen(QWidget& window);

// The face every control of the game uses.
inline constexpr const char16_t* GameFontFamily = u"ＭＳ Ｐゴシック";
inline constexpr const char16_t* MinchoFontFamily = u"ＭＳ 明朝";

} // namespace ui
