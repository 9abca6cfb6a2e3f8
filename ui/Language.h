// SPDX-License-Identifier: MIT
// The language the game speaks. Its texts are written in Japanese, the
// source language; English comes from the translation built into the
// program (translations/zelmor_en.ts). The desktop chooses unless the player
// has chosen in the view menu.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ui {

enum class Language { Japanese, English };

// English where the desktop's first user-interface language is English,
// Japanese otherwise (the C and POSIX locales included).
Language DesktopLanguage(const QStringList& uiLanguages);
Language DesktopLanguage();

// "ja" or "en", as the preferences store it; a stored code the game does not
// know is no choice.
QString LanguageCode(Language language);
std::optional<Language> LanguageFromCode(const QString& code);

// Speaks `language` from now on: installs the game's translation (none for
// Japanese) and, when Qt's own texts are already loaded, Qt's catalogue for
// it. Qt then sends every window a LanguageChange event, on which each one
// sets its texts again.
void SetLanguage(Language language);
Language CurrentLanguage();

// Qt's own texts (the file dialog, the input box's buttons, the standard
// shortcuts) in the current language, from Debian's qt6-translations-l10n.
// Loaded the first time one is needed, so that no start pays for it.
void LoadQtTranslations();

} // namespace ui
