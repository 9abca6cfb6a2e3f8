#include "platform/Fonts.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QString>
#include <QStringList>

namespace ui {

void installFontSubstitutions()
{
    const QStringList gothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                             QStringLiteral("Noto Sans CJK JP")};
    const QStringList mincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
                             QStringLiteral("Noto Serif CJK JP")};
    for (const char16_t* name : {u"ＭＳ Ｐゴシック", u"ＭＳ ゴシック", u"MS PGothic", u"MS Gothic"})
        QFont::insertSubstitutions(QString::fromUtf16(name), gothic);
    for (const char16_t* name : {u"ＭＳ 明朝", u"ＭＳ Ｐ明朝", u"MS Mincho", u"MS PMincho"})
        QFont::insertSubstitutions(QString::fromUtf16(name), mincho);
}

QFont GameFont()
{
    QFont font(QString::fromUtf16(GameFontFamily));
    font.setPointSizeF(9);
    return font;
}

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize frame = window.frameGeometry().size();
    window.move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

} // namespace ui
