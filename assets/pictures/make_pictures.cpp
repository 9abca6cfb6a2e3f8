// Draws every picture of the game into the given directory.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

bool save(const QImage& image, const QString& dir, const QString& name)
{
    const QString path = dir + QLatin1Char('/') + name;
    const bool ok = image.save(path);
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return ok;
}

QImage card(QColor back, const QString& text, QColor ink, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(back);
    QPainter p(&image);
    p.setPen(ink);
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(size * 6 / 10);
    f.setBold(true);
    p.setFont(f);
    p.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(dir);
    bool ok = true;
    QImage back(500, 312, QImage::Format_RGB32);
    back.fill(QColor(190, 225, 250));
    ok &= save(back, dir, QStringLiteral("BACK.BMP"));
    for (int n = 0; n <= 9; ++n)
        ok &= save(card(Qt::white, QString::number(n), Qt::red, 114), dir, QStringLiteral("R0%1.BMP").arg(n));
    ok &= save(card(QColor(40, 60, 160), QStringLiteral("?"), Qt::white, 72), dir, QStringLiteral("COVER.BMP"));
    ok &= save(card(QColor(250, 220, 60), QStringLiteral("当"), Qt::red, 72), dir, QStringLiteral("ATARI.BMP"));
    ok &= save(card(QColor(200, 200, 200), QStringLiteral("×"), Qt::black, 72), dir, QStringLiteral("HAZURE.BMP"));
    ok &= save(card(QColor(230, 230, 255), QStringLiteral("狙"), Qt::blue, 114), dir, QStringLiteral("BAI01.BMP"));
    QImage start(48, 32, QImage::Format_RGB32);
    start.fill(QColor(128, 255, 128));
    {
        QPainter p(&start);
        p.drawText(start.rect(), Qt::AlignCenter, QStringLiteral("Start"));
    }
    ok &= save(start, dir, QStringLiteral("START.BMP"));
    QImage stop(32, 32, QImage::Format_ARGB32);
    stop.fill(Qt::red);
    ok &= save(stop, dir, QStringLiteral("STOP.PNG"));
    QImage icon(256, 256, QImage::Format_ARGB32);
    icon.fill(QColor(255, 128, 0));
    ok &= save(icon, dir, QStringLiteral("ZELMOR.PNG"));
    return ok ? 0 : 1;
}
