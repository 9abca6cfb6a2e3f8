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

// Auto play's limits under autoplay/: an amount or a count of 0 (or none
// at all) is a limit not set.
template <class T>
std::optional<T> Limit(const QSettings& store, const QString& key, std::optional<T> fallback)
{
    const qint64 value = store.value(key, qint64(fallback.value_or(0))).toLongLong();
    if (value <= 0)
        return std::nullopt;
    return T(value);
}

game::AutoPlayLimits LoadAutoPlay(const QSettings& store, const game::AutoPlayLimits& fallback)
{
    game::AutoPlayLimits limits;
    limits.spins = Limit<int>(store, QStringLiteral("autoplay/spins"), fallback.spins);
    limits.jackpot = store.value(QStringLiteral("autoplay/jackpot"), fallback.jackpot).toBool();
    limits.chanceEnd = store.value(QStringLiteral("autoplay/chanceEnd"), fallback.chanceEnd).toBool();
    limits.moneyBelow = Limit<qint64>(store, QStringLiteral("autoplay/moneyBelow"), fallback.moneyBelow);
    limits.moneyAtLeast = Limit<qint64>(store, QStringLiteral("autoplay/moneyAtLeast"), fallback.moneyAtLeast);
    return limits;
}

void SaveAutoPlay(QSettings& store, const game::AutoPlayLimits& limits)
{
    store.setValue(QStringLiteral("autoplay/spins"), limits.spins.value_or(0));
    store.setValue(QStringLiteral("autoplay/jackpot"), limits.jackpot);
    store.setValue(QStringLiteral("autoplay/chanceEnd"), limits.chanceEnd);
    store.setValue(QStringLiteral("autoplay/moneyBelow"), limits.moneyBelow.value_or(0));
    store.setValue(QStringLiteral("autoplay/moneyAtLeast"), limits.moneyAtLeast.value_or(0));
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
    p.autoPlay = LoadAutoPlay(store, p.autoPlay);
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
    SaveAutoPlay(store, autoPlay);
}

} // namespace ui
