// SPDX-License-Identifier: MIT
#include "ui/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace ui {

namespace {

// The Linux faces that stand in for the classic ones, best first.
const QStringList& GothicFaces()
{
    static const QStringList faces{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                   QStringLiteral("Noto Sans CJK JP")};
    return faces;
}

const QStringList& MinchoFaces()
{
    static const QStringList faces{QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
                                   QStringLiteral("Noto Serif CJK JP")};
    return faces;
}

} // namespace

void installFontSubstitutions()
{
    for (const char16_t* name : {u"ＭＳ Ｐゴシック", u"ＭＳ ゴシック", u"MS PGothic", u"MS Gothic"})
        QFont::insertSubstitutions(QString::fromUtf16(name), GothicFaces());
    for (const char16_t* name : {u"ＭＳ 明朝", u"ＭＳ Ｐ明朝", u"MS Mincho", u"MS PMincho"})
        QFont::insertSubstitutions(QString::fromUtf16(name), MinchoFaces());
}

QString GameFace()
{
    // Asked for by the one face that is installed, Qt loads it at once. A
    // classic name, or a list of candidates, would first send it through a
    // fontconfig search for fallback fonts, for every size and weight used.
    static const QString face = [] {
        for (const QString& candidate : GothicFaces())
            if (QFontDatabase::hasFamily(candidate))
                return candidate;
        return QString::fromUtf16(GameFontFamily); // left to the substitutions
    }();
    return face;
}

QFont GameFont()
{
    QFont font(GameFace());
    font.setPointSizeF(9);
    return font;
}

bool LosesSyntheticBold(const QFont& font, qreal devicePixelRatio)
{
    constexpr int LargestEmboldened = 64; // pixels
    if (font.weight() < QFont::DemiBold)
        return false;
    const QFontInfo info(font);
    if (devicePixelRatio == 1.0 && info.pixelSize() <= LargestEmboldened)
        return false;
    static QHash<QString, bool> hasBoldFace;
    auto it = hasBoldFace.constFind(info.family());
    if (it == hasBoldFace.constEnd()) {
        bool bold = false;
        for (const QString& style : QFontDatabase::styles(info.family()))
            bold |= QFontDatabase::weight(info.family(), style) >= QFont::DemiBold;
        it = hasBoldFace.insert(info.family(), bold);
    }
    return !*it;
}

qreal SyntheticBoldWidth(qreal pixelSize)
{
    return pixelSize / 24.0;
}

} // namespace ui
