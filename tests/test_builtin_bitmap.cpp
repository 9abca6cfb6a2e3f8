// SPDX-License-Identifier: MIT
// The background built into the program is drawn from where it lies: its
// image is a view of the resource's bytes, the same picture a decoder reads
// from them, and a pixmap made from it shares them. Any other picture is
// left for the decoder.
#include "ui/BuiltInBitmap.h"
#include "ui/Pictures.h"

#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <QtTest>

class TestBuiltInBitmap : public QObject {
    Q_OBJECT
private slots:
    void backgroundIsViewedInPlace()
    {
        const QString path = ui::WindowPicture(QStringLiteral("BACK.BMP"));
        const QImage view = ui::BuiltInBitmap(path);
        QVERIFY(!view.isNull());
        QCOMPARE(view.size(), QSize(500, 312));
        QCOMPARE(view.format(), QImage::Format_RGB32);

        const QResource resource(path);
        const uchar* first = resource.data();
        QVERIFY(view.constBits() > first && view.constBits() + view.sizeInBytes() <= first + resource.size());

        QImageReader decoder(path);
        const QImage decoded = decoder.read();
        QVERIFY2(!decoded.isNull(), qPrintable(decoder.errorString()));
        QCOMPARE(view, decoded.convertToFormat(QImage::Format_RGB32));

        const QPixmap pixmap = QPixmap::fromImage(view);
        QCOMPARE(pixmap.toImage().constBits(), view.constBits());
    }

    void otherPicturesAreDecoded_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("24-bit bitmap, rows from the bottom") << ui::WindowPicture(QStringLiteral("START.BMP"));
        QTest::newRow("PNG") << ui::WindowPicture(QStringLiteral("STOP.PNG"));
        QTest::newRow("no such resource") << ui::WindowPicture(QStringLiteral("NONE.BMP"));
    }
    void otherPicturesAreDecoded()
    {
        QFETCH(QString, path);
        QVERIFY(ui::BuiltInBitmap(path).isNull());
    }
};

QTEST_MAIN(TestBuiltInBitmap)
#include "test_builtin_bitmap.moc"
