// SPDX-License-Identifier: MIT
// The pictures the build draws into the program's directory, and the
// window's own pictures built into the program: every one is there, readable,
// of the size the window expects, and the transparent parts of the buttons and
// icons are where they must be.
#include "ui/Pictures.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>

namespace {

QString assetPath(const QString& name) { return QDir(QStringLiteral(ZELMOR_ASSET_DIR)).filePath(name); }

// The desktop icons sit beside the program's directory in the build tree.
QString iconPath(int size)
{
    return QDir(QStringLiteral(ZELMOR_ASSET_DIR))
        .filePath(QStringLiteral("../icons/hicolor/%1x%1/apps/zelmor.png").arg(size));
}

QImage load(const QString& path)
{
    QImage image(path);
    if (image.isNull())
        qWarning("cannot load %s", qPrintable(path));
    return image;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void everyPicture_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("background") << ui::WindowPicture("BACK.BMP") << 500 << 312;
        for (int n = 0; n <= 9; ++n)
            QTest::addRow("symbol %d", n) << assetPath(QStringLiteral("R0%1.BMP").arg(n)) << 114 << 114;
        QTest::newRow("cover") << assetPath("COVER.BMP") << 72 << 72;
        QTest::newRow("hit card") << assetPath("ATARI.BMP") << 72 << 72;
        QTest::newRow("miss card") << assetPath("HAZURE.BMP") << 72 << 72;
        QTest::newRow("no target") << assetPath("BAI01.BMP") << 114 << 114;
        QTest::newRow("start") << ui::WindowPicture("START.BMP") << 48 << 32;
        QTest::newRow("stop") << ui::WindowPicture("STOP.PNG") << 32 << 32;
        QTest::newRow("window icon") << ui::WindowPicture("ZELMOR.PNG") << 64 << 64;
        QTest::newRow("wits warning") << assetPath("CHIE.BMP") << 64 << 64;
        QTest::newRow("wits failure") << assetPath("KURABE.BMP") << 64 << 64;
    }
    void everyPicture()
    {
        QFETCH(QString, path);
        QFETCH(int, width);
        QFETCH(int, height);
        const QImage image = load(path);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(width, height));
        if (path.endsWith(QLatin1String(".BMP")) && path != ui::WindowPicture("BACK.BMP")) {
            // 24-bit bitmaps: the bits-per-pixel field of the header. (The
            // built-in background is stored as the painter reads pixels:
            // test_builtin_bitmap.)
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray header = file.read(30);
            QCOMPARE(header.left(2), QByteArray("BM"));
            QCOMPARE(int(uchar(header[28])), 24);
        }
    }

    // Every picture again at 2x, 3x and 4x: its size at 1x (the box it fills
    // in the layout, or its own size when shown unstretched) times the scale.
    void scaledSets_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        const struct {
            const char* name;
            QSize box;
            bool window;
        } pictures[] = {
            {"BACK", {500, 312}, true},  {"R00", {57, 57}, false},   {"R07", {57, 57}, false},
            {"R09", {57, 57}, false},    {"COVER", {36, 36}, false}, {"ATARI", {36, 36}, false},
            {"HAZURE", {36, 36}, false}, {"BAI01", {57, 57}, false}, {"START", {48, 32}, true},
            {"STOP", {32, 32}, true},    {"ZELMOR", {64, 64}, true}, {"CHIE", {64, 64}, false},
            {"KURABE", {64, 64}, false},
        };
        for (int scale : {2, 3, 4})
            for (const auto& picture : pictures) {
                const QString name = QStringLiteral("@%1x/%2.png").arg(scale).arg(QLatin1String(picture.name));
                QTest::addRow("%s at %dx", picture.name, scale)
                    << (picture.window ? ui::WindowPicture(name) : assetPath(name)) << picture.box * scale;
            }
    }
    void scaledSets()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QCOMPARE(load(path).size(), size);
    }

    // The set a window picks: its pixel ratio times its zoom, rounded up to a
    // drawn scale, at most 4.
    void pictureScale_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("scale");
        QTest::newRow("1x screen, 1x") << 1.0 << 1.0 << 1;
        QTest::newRow("1x screen, 1.5x") << 1.0 << 1.5 << 2;
        QTest::newRow("1x screen, 3x") << 1.0 << 3.0 << 3;
        QTest::newRow("1.25 screen, 1x") << 1.25 << 1.0 << 2;
        QTest::newRow("2x screen, 1.5x") << 2.0 << 1.5 << 3;
        QTest::newRow("2x screen, 2x") << 2.0 << 2.0 << 4;
        QTest::newRow("3x screen, 3x") << 3.0 << 3.0 << 4;
    }
    void pictureScale()
    {
        QFETCH(qreal, ratio);
        QFETCH(double, zoom);
        QFETCH(int, scale);
        QCOMPARE(ui::PictureScale(ratio, zoom), scale);
    }

    // A picture file that is missing, or holds no picture, shows a stand-in
    // that fills its box, never an empty box: a grey card, crossed out.
    void standInForAFileThatCannotBeRead_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("no picture") << QByteArray("BM not a bitmap at all");
    }
    void standInForAFileThatCannotBeRead()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("COVER.BMP"));
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        ui::ShownPicture picture;
        picture.setSource(path);
        QImage box(72, 72, QImage::Format_ARGB32_Premultiplied);
        box.fill(Qt::transparent);
        {
            QPainter painter(&box);
            picture.draw(painter, box.rect(), true, 1.0, 1.0);
        }
        QCOMPARE(qAlpha(box.pixel(0, 0)), 255);
        QCOMPARE(qAlpha(box.pixel(71, 71)), 255);
        const QColor edge = box.pixelColor(36, 4), middle = box.pixelColor(36, 36);
        QVERIFY(qAbs(edge.red() - edge.blue()) < 16); // grey
        QVERIFY(middle.red() > middle.green() + 80);  // the cross
    }

    void symbolsAreDistinct()
    {
        for (int a = 0; a <= 9; ++a)
            for (int b = a + 1; b <= 9; ++b)
                QVERIFY2(load(assetPath(QStringLiteral("R0%1.BMP").arg(a))) !=
                             load(assetPath(QStringLiteral("R0%1.BMP").arg(b))),
                         qPrintable(QStringLiteral("R0%1 and R0%2 are the same").arg(a).arg(b)));
    }

    // Every pixel of the Start picture is either exactly the key colour or
    // clearly lettering: a near-key pixel would show as a pale fringe.
    void startPictureHasCleanKeyColour_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("1x") << ui::WindowPicture(QStringLiteral("START.BMP"));
        for (int scale : {2, 3, 4})
            QTest::addRow("%dx", scale) << ui::WindowPicture(QStringLiteral("@%1x/START.png").arg(scale));
    }
    void startPictureHasCleanKeyColour()
    {
        QFETCH(QString, path);
        const QImage image = load(path);
        const QRgb key = qRgb(128, 255, 128);
        int keyPixels = 0, lettering = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb px = image.pixel(x, y) | 0xff000000;
                if (px == key) {
                    ++keyPixels;
                    continue;
                }
                ++lettering;
                const int distance = std::abs(qRed(px) - 128) + std::abs(qGreen(px) - 255) + std::abs(qBlue(px) - 128);
                QVERIFY2(distance > 60, qPrintable(QStringLiteral("near-key pixel at %1,%2").arg(x).arg(y)));
            }
        QVERIFY(image.pixel(0, 0) == (key | 0xff000000));
        QVERIFY(keyPixels > image.width() * image.height() / 2);
        QVERIFY(lettering > 80);
    }

    void iconsAreTransparentOutsideTheirShape_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("stop") << ui::WindowPicture(QStringLiteral("STOP.PNG"));
        QTest::newRow("window icon") << ui::WindowPicture(QStringLiteral("ZELMOR.PNG"));
        QTest::newRow("stop at 4x") << ui::WindowPicture(QStringLiteral("@4x/STOP.png"));
        QTest::newRow("window icon at 3x") << ui::WindowPicture(QStringLiteral("@3x/ZELMOR.png"));
    }
    void iconsAreTransparentOutsideTheirShape()
    {
        QFETCH(QString, path);
        const QImage image = load(path);
        QVERIFY(image.hasAlphaChannel());
        const int w = image.width() - 1, h = image.height() - 1;
        for (QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }

    void desktopIcons_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%dpx", size) << size;
    }
    void desktopIcons()
    {
        QFETCH(int, size);
        const QImage image = load(iconPath(size));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, size - 1)), 0);
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
