// SPDX-License-Identifier: MIT
#include "ui/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <limits>

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

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize frame = window.frameGeometry().size();
    window.move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void PlaceBeside(QWidget& window, const QWidget& beside)
{
    const QScreen* screen = beside.screen() ? beside.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.move(PlaceBesidePosition(screen->availableGeometry(), beside.frameGeometry(),
                                    window.size() + WindowFrame(window)));
}

// The places tried, in order of preference: beside each side of the other
// window, then the screen's corners; each is pushed inside the screen, and
// the first that covers the least of the other window wins.
QPoint PlaceBesidePosition(const QRect& room, const QRect& other, const QSize& size)
{
    const int lastLeft = std::max(room.left(), room.right() + 1 - size.width());
    const int lastTop = std::max(room.top(), room.bottom() + 1 - size.height());
    const QPoint tried[] = {
        {other.right() + 1, other.top()}, {other.left() - size.width(), other.top()},
        {other.left(), other.bottom() + 1}, {other.left(), other.top() - size.height()},
        room.topLeft(), {lastLeft, room.top()}, {room.left(), lastTop}, {lastLeft, lastTop},
    };
    QPoint best;
    qint64 leastCovered = std::numeric_limits<qint64>::max();
    for (const QPoint& place : tried) {
        const QPoint inside(std::clamp(place.x(), room.left(), lastLeft), std::clamp(place.y(), room.top(), lastTop));
        const QRect covered = QRect(inside, size).intersected(other);
        const qint64 area = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
        if (area < leastCovered) {
            best = inside;
            leastCovered = area;
        }
    }
    return best;
}

QSize WindowFrame(const QWidget& window)
{
    const QSize unframedAllowance(16, 40);
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    return !window.isVisible() && frame.isNull() ? unframedAllowance : frame;
}

} // namespace ui
