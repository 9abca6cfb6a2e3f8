// Draws every picture of the game into the directory given as the first
// argument. With a second argument, also writes the window icon as desktop
// icons: <dir>/hicolor/<N>x<N>/apps/zelmor.png. With a third, the window's own
// pictures (background, Start, STOP and the window icon), which the build
// compiles into the program as resources, go there instead.
// All noise is seeded, so every run writes the same pictures.
#include "Canvas.h"
#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const QString windowDir = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir;
    auto out = [&](const QString& name) { return dir + QLatin1Char('/') + name; };
    auto windowOut = [&](const QString& name) { return windowDir + QLatin1Char('/') + name; };

    bool ok = true;
    ok &= art::save(art::background(), windowOut(QStringLiteral("BACK.BMP")));
    for (int n = 0; n <= 9; ++n)
        ok &= art::save(art::flatten(art::symbol(n), Qt::white), out(QStringLiteral("R0%1.BMP").arg(n)));
    ok &= art::save(art::coverCard(), out(QStringLiteral("COVER.BMP")));
    ok &= art::save(art::hitCard(), out(QStringLiteral("ATARI.BMP")));
    ok &= art::save(art::missCard(), out(QStringLiteral("HAZURE.BMP")));
    ok &= art::save(art::noTarget(), out(QStringLiteral("BAI01.BMP")));
    ok &= art::save(art::startButton(), windowOut(QStringLiteral("START.BMP")));
    ok &= art::save(art::stopButton(), windowOut(QStringLiteral("STOP.PNG")));
    // The window's own icon: 64 px serves title bars, task switchers and the
    // About box even at double pixel density, and decodes in a fraction of
    // the time a 256 px picture takes at every start. Desktop menus take the
    // installed hicolor icons below.
    ok &= art::save(art::windowIcon(64), windowOut(QStringLiteral("ZELMOR.PNG")));
    ok &= art::save(art::wisdomIcon(), out(QStringLiteral("CHIE.BMP")));
    ok &= art::save(art::contestIcon(), out(QStringLiteral("KURABE.BMP")));

    if (argc > 2) {
        const QString icons = QString::fromLocal8Bit(argv[2]);
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            ok &= art::save(art::windowIcon(size),
                            QStringLiteral("%1/hicolor/%2x%2/apps/zelmor.png").arg(icons).arg(size));
    }
    return ok ? 0 : 1;
}
