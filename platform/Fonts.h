#pragma once

namespace ui {

// The game's texts name the classic Japanese Windows faces; map them to the
// IPA fonts that Debian ships so that Japanese text renders properly.
void installFontSubstitutions();

// The face every control of the game uses.
inline constexpr const char16_t* GameFontFamily = u"ＭＳ Ｐゴシック";
inline constexpr const char16_t* MinchoFontFamily = u"ＭＳ 明朝";

} // namespace ui
