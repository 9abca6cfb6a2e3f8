// SPDX-License-Identifier: MIT
#include "ui/Preferences.h"

#include <QSettings>

#include <algorithm>

namespace ui {

namespace {

// ~/.config/zelmor/zelmor.conf ($XDG_CONFIG_HOME honoured).
QSettings Store()
{
    return QSettings(QStringLiteral("zelmor"), QStringLiteral("zelmor"));
}

} // namespace

Language Preferences::shownLanguage() const
{
    return language.value_or(DesktopLanguage());
}

Preferences Preferences::Load()
{
    const QSettings store = Store();
    Preferences p;
    const double zoom = store.value(QStringLiteral("view/zoom"), p.zoom).toDouble();
    if (std::find(std::begin(Zooms), std::end(Zooms), zoom) != std::end(Zooms))
        p.zoom = zoom;
    p.calmLamps = store.value(QStringLiteral("view/calmLamps"), p.calmLamps).toBool();
    const int pace = store.value(QStringLiteral("view/pace"), p.pace).toInt();
    if (std::find(std::begin(Paces), std::end(Paces), pace) != std::end(Paces))
        p.pace = pace;
    p.musicVolume = std::clamp(store.value(QStringLiteral("sound/musicVolume"), p.musicVolume).toInt(), 0, 100);
    p.effectsVolume = std::clamp(store.value(QStringLiteral("sound/effectsVolume"), p.effectsVolume).toInt(), 0, 100);
    p.language = LanguageFromCode(store.value(QStringLiteral("view/language")).toString());
    return p;
}

void Preferences::save() const
{
    QSettings store = Store();
    store.setValue(QStringLiteral("view/zoom"), zoom);
    store.setValue(QStringLiteral("view/calmLamps"), calmLamps);
    store.setValue(QStringLiteral("view/pace"), pace);
    store.setValue(QStringLiteral("sound/musicVolume"), musicVolume);
    store.setValue(QStringLiteral("sound/effectsVolume"), effectsVolume);
    if (language)
        store.setValue(QStringLiteral("view/language"), LanguageCode(*language));
}

} // namespace ui
