// SPDX-License-Identifier: MIT
#include "ui/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace ui {

namespace {

Language current = Language::Japanese;
bool qtTextsWanted = false;

// The translators in use, replaced at each change of language.
std::unique_ptr<QTranslator> gameTranslator;
std::unique_ptr<QTranslator> qtTranslator;

std::unique_ptr<QTranslator> Installed(const QString& name, const QString& directory)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, directory))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

void InstallGameTranslation()
{
    gameTranslator.reset();
    if (current == Language::English)
        gameTranslator = Installed(QStringLiteral("zelmor_en"), QStringLiteral(":/i18n"));
}

// Qt writes its own texts in English, so only Japanese needs a catalogue.
void InstallQtTranslation()
{
    qtTranslator.reset();
    if (current == Language::Japanese)
        qtTranslator = Installed(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace

Language DesktopLanguage(const QStringList& uiLanguages)
{
    if (uiLanguages.isEmpty())
        return Language::Japanese;
    const QString first = uiLanguages.first();
    return first == QLatin1String("en") || first.startsWith(QLatin1String("en-"))
                   || first.startsWith(QLatin1String("en_"))
               ? Language::English
               : Language::Japanese;
}

Language DesktopLanguage()
{
    const QLocale desktop = QLocale::system();
    if (desktop.language() == QLocale::C) // LANG unset, C or POSIX
        return Language::Japanese;
    return DesktopLanguage(desktop.uiLanguages());
}

QString LanguageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("ja");
}

std::optional<Language> LanguageFromCode(const QString& code)
{
    if (code == QLatin1String("en"))
        return Language::English;
    if (code == QLatin1String("ja"))
        return Language::Japanese;
    return std::nullopt;
}

void SetLanguage(Language language)
{
    if (language == current && (language == Language::Japanese || gameTranslator))
        return;
    current = language;
    InstallGameTranslation();
    if (qtTextsWanted)
        InstallQtTranslation();
}

Language CurrentLanguage()
{
    return current;
}

void LoadQtTranslations()
{
    if (qtTextsWanted)
        return;
    qtTextsWanted = true;
    InstallQtTranslation();
}

} // namespace ui
