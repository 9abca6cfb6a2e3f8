// SPDX-License-Identifier: MIT
// Draws every picture of the game into the directory given as the first
// argument. With a second argument, also writes the window icon as desktop
// icons: <dir>/hicolor/<N>x<N>/apps/zelmor.png. With a third, the window's own
// pictures (background, Start, STOP and the window icon), which the build
// compiles into the program as resources, go there instead.
//
// Besides the classic files, every picture is drawn again for sharp display
// at 2x, 3x and 4x: its box in the window's layout (or its own size, for the
// pictures shown unstretched) times the scale, as <dir>/@<N>x/<NAME>.png.
// All noise is seeded, so every run writes the same pictures.
#include "Canvas.h"
#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>

#include <functional>
#include <vector>

namespace {

// The pictures' sizes at 1x, in pixels: boxes of the layout in twips / 15.
constexpr int TwipsPerPixel = 15;
constexpr int ReelBox = 855 / TwipsPerPixel;  // the reel rows and the target box
constexpr int CoverBox = 540 / TwipsPerPixel; // the four covers
constexpr int WitsBox = 960 / TwipsPerPixel;  // the battle-of-wits emblems
constexpr int StopBox = 480 / TwipsPerPixel;  // the STOP buttons
constexpr int WindowIconSize = 64;            // the window icon, as stored at 1x
constexpr int Uncompressed = 100;             // the PNG quality that stores pixels without compression

// The scales the game picks from: the screen's pixel ratio times the zoom,
// rounded up, at most 4.
constexpr int Scales[] = {2, 3, 4};

struct ScaledPicture {
    QString name;
    bool window; // one of the window's own pictures (a resource)
    std::function<QImage(int scale)> draw;
};

std::vector<ScaledPicture> ScaledPictures()
{
    std::vector<ScaledPicture> pictures;
    pictures.push_back({QStringLiteral("BACK"), true, [](int s) { return art::background(s); }});
    for (int n = 0; n <= 9; ++n)
        pictures.push_back({QStringLiteral("R0%1").arg(n), false,
                            [n](int s) { return art::flatten(art::symbol(n, ReelBox * s), Qt::white); }});
    pictures.push_back({QStringLiteral("COVER"), false, [](int s) { return art::coverCard(CoverBox * s); }});
    pictures.push_back({QStringLiteral("ATARI"), false, [](int s) { return art::hitCard(CoverBox * s); }});
    pictures.push_back({QStringLiteral("HAZURE"), false, [](int s) { return art::missCard(CoverBox * s); }});
    pictures.push_back({QStringLiteral("BAI01"), false, [](int s) { return art::noTarget(ReelBox * s); }});
    pictures.push_back({QStringLiteral("START"), true, [](int s) { return art::startButton(s); }});
    pictures.push_back({QStringLiteral("STOP"), true, [](int s) { return art::stopButton(StopBox * s); }});
    pictures.push_back({QStringLiteral("ZELMOR"), true, [](int s) { return art::windowIcon(WindowIconSize * s); }});
    pictures.push_back({QStringLiteral("CHIE"), false, [](int s) { return art::wisdomIcon(WitsBox * s); }});
    pictures.push_back({QStringLiteral("KURABE"), false, [](int s) { return art::contestIcon(WitsBox * s); }});
    return pictures;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const QString windowDir = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir;
    auto out = [&](const QString& name) { return dir + QLatin1Char('/') + name; };
    auto windowOut = [&](const QString& name) { return windowDir + QLatin1Char('/') + name; };

    bool ok = true;
    // The background is drawn straight from the program's memory: stored as
    // the painter reads pixels, it needs no decoding and no copy.
    ok &= art::saveTopDownBitmap(art::background(), windowOut(QStringLiteral("BACK.BMP")));
    for (int n = 0; n <= 9; ++n)
        ok &= art::save(art::flatten(art::symbol(n), Qt::white), out(QStringLiteral("R0%1.BMP").arg(n)));
    ok &= art::save(art::coverCard(), out(QStringLiteral("COVER.BMP")));
    ok &= art::save(art::hitCard(), out(QStringLiteral("ATARI.BMP")));
    ok &= art::save(art::missCard(), out(QStringLiteral("HAZURE.BMP")));
    ok &= art::save(art::noTarget(), out(QStringLiteral("BAI01.BMP")));
    ok &= art::save(art::startButton(), windowOut(QStringLiteral("START.BMP")));
    ok &= art::save(art::stopButton(), windowOut(QStringLiteral("STOP.PNG")));
    // The window's own icon: 64 px serves title bars, task switchers and the
    // About box at 1x, and decodes in a fraction of the time a 256 px picture
    // takes at every start. Denser screens take the scaled sets' icons;
    // desktop menus take the installed hicolor icons below. It is stored
    // uncompressed: read at every start before the first message box, it
    // decodes in 40 % less time that way, for 12 KB more in the program.
    ok &= art::save(art::windowIcon(WindowIconSize), windowOut(QStringLiteral("ZELMOR.PNG")), Uncompressed);
    ok &= art::save(art::wisdomIcon(), out(QStringLiteral("CHIE.BMP")));
    ok &= art::save(art::contestIcon(), out(QStringLiteral("KURABE.BMP")));

    for (const ScaledPicture& picture : ScaledPictures())
        for (int scale : Scales) {
            const QString name = QStringLiteral("@%1x/%2.png").arg(scale).arg(picture.name);
            ok &= art::save(picture.draw(scale), picture.window ? windowOut(name) : out(name));
        }

    if (argc > 2) {
        const QString icons = QString::fromLocal8Bit(argv[2]);
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            ok &= art::save(art::windowIcon(size),
                            QStringLiteral("%1/hicolor/%2x%2/apps/zelmor.png").arg(icons).arg(size));
    }
    return ok ? 0 : 1;
}
