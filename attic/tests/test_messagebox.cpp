// The game's message box as the player sees it: title, text, icon, buttons
// and the answer each way of closing it gives.
#include "platform/GameStyle.h"
#include "platform/MessageBox.h"
#include "platform/Seams.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace seams;

namespace {

QStringList Captions(const QMessageBox& box)
{
    QStringList captions;
    for (QAbstractButton* button : box.buttons())
        captions << button->text();
    captions.sort();
    return captions;
}

// Runs the box and closes it from inside its event loop the way `close` does.
int Answer(int style, const std::function<void(QMessageBox&)>& close)
{
    const auto box = ui::MakeMessageBox(QStringLiteral("?"), style, QStringLiteral("ゼルモア"));
    QTimer::singleShot(0, box.get(), [&box, &close] { close(*box); });
    return ui::RunMessageBox(*box, style);
}

// The colour of the icon's body at (x, y), clear of its white or dark sign.
QColor Body(QMessageBox::Icon icon, int x, int y)
{
    return ui::MessageIcon(icon, 1).toImage().pixelColor(x, y);
}

} // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setStyle(new ui::GameStyle); }

    void layout_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("defaultCaption");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("notice") << int(vbInformation) << QStringList{"OK"} << "OK" << QMessageBox::Information;
        QTest::newRow("confirmation") << int(vbExclamation | vbYesNo) << QStringList{"いいえ(&N)", "はい(&Y)"}
                                      << "はい(&Y)" << QMessageBox::Warning;
        QTest::newRow("save failure") << int(vbCritical) << QStringList{"OK"} << "OK" << QMessageBox::Critical;
        QTest::newRow("fatal, no icon") << int(vbOKOnly) << QStringList{"OK"} << "OK" << QMessageBox::NoIcon;
    }
    void layout()
    {
        QFETCH(int, style);
        QFETCH(QStringList, captions);
        QFETCH(QString, defaultCaption);
        QFETCH(QMessageBox::Icon, icon);
        const auto box = ui::MakeMessageBox(QStringLiteral("一行目\r\n二行目"), style, QStringLiteral("ゼルモア"));
        QCOMPARE(box->windowTitle(), QStringLiteral("ゼルモア"));
        QCOMPARE(box->text(), QStringLiteral("一行目\n二行目"));
        QCOMPARE(Captions(*box), captions);
        QVERIFY(box->defaultButton());
        QCOMPARE(box->defaultButton()->text(), defaultCaption);
        QCOMPARE(box->icon(), icon);
        // The picture shown is the game's own, not one from the desktop's theme.
        if (icon == QMessageBox::NoIcon) {
            QVERIFY(box->iconPixmap().isNull());
        } else {
            const QImage shown = box->iconPixmap().toImage();
            const QImage drawn = ui::MessageIcon(icon, shown.devicePixelRatio()).toImage();
            QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32), drawn.convertToFormat(QImage::Format_ARGB32));
        }
    }

    void textIsPlainAndUnselectable()
    {
        const auto box = ui::MakeMessageBox(QStringLiteral("<b>$100</b> &amp;"), vbInformation, QStringLiteral("t"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->textInteractionFlags(), Qt::NoTextInteraction);
        const auto labels = box->findChildren<QLabel*>();
        const bool shownAsWritten = std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->text() == QStringLiteral("<b>$100</b> &amp;") && label->textFormat() == Qt::PlainText;
        });
        QVERIFY(shownAsWritten);
    }

    void untitledBoxTakesTheProgramsTitle()
    {
        QCOMPARE(ui::MakeMessageBox(QStringLiteral("x"), vbOKOnly, QString())->windowTitle(), QStringLiteral("Zelmor"));
    }

    void answers()
    {
        const auto click = [](const QString& caption) {
            return [caption](QMessageBox& box) {
                for (QAbstractButton* button : box.buttons())
                    if (button->text() == caption)
                        button->click();
            };
        };
        const auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
        const auto enter = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); };
        const auto closeBox = [](QMessageBox& box) { box.close(); };
        const int yesNo = vbExclamation | vbYesNo;
        QCOMPARE(Answer(yesNo, click(QStringLiteral("はい(&Y)"))), int(vbYes));
        QCOMPARE(Answer(yesNo, click(QStringLiteral("いいえ(&N)"))), int(vbNo));
        QCOMPARE(Answer(yesNo, enter), int(vbYes));
        QCOMPARE(Answer(yesNo, escape), int(vbNo));
        QCOMPARE(Answer(yesNo, closeBox), int(vbNo));
        QCOMPARE(Answer(vbInformation, click(QStringLiteral("OK"))), int(vbOK));
        QCOMPARE(Answer(vbInformation, escape), int(vbOK));
    }

    // The icons are drawn for the screen: sharp at double density, see-through
    // around their shape, and told apart by colour.
    void icons()
    {
        for (qreal dpr : {1.0, 2.0}) {
            for (auto icon : {QMessageBox::Information, QMessageBox::Warning, QMessageBox::Critical}) {
                const QPixmap pixmap = ui::MessageIcon(icon, dpr);
                QCOMPARE(pixmap.size(), QSize(32, 32) * dpr);
                QCOMPARE(pixmap.devicePixelRatio(), dpr);
                QCOMPARE(pixmap.toImage().pixelColor(0, 0).alpha(), 0);
            }
        }
        const QColor information = Body(QMessageBox::Information, 8, 16);
        const QColor warning = Body(QMessageBox::Warning, 10, 26);
        const QColor critical = Body(QMessageBox::Critical, 8, 16);
        QVERIFY(information.blue() > information.red());
        QVERIFY(warning.red() > 200 && warning.green() > 120 && warning.blue() < 100);
        QVERIFY(critical.red() > critical.blue() && critical.red() > critical.green());
        QVERIFY(ui::MessageIcon(QMessageBox::Question, 1).isNull());
        // The menu bar's overflow button gets a drawn chevron.
        QVERIFY(!QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).isNull());
        QVERIFY(ui::MessageIcon(QMessageBox::NoIcon, 1).isNull());
    }
};

QTEST_MAIN(TestMessageBox)
#include "test_messagebox.moc"
