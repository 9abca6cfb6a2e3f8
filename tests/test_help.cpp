// SPDX-License-Identifier: MIT
// The Help menu: the modeless help window with its document, and the modal
// version window.
#include "tests/support/SessionRig.h"
#include "ui/AboutDialog.h"
#include "ui/HelpWindow.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

using namespace testing;

namespace {

int OpenHelpWindows()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<ui::HelpWindow*>(w) && w->isVisible() ? 1 : 0;
    return count;
}

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The character format of the block that reads `text`, or of the first
// fragment that holds it.
QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (block.text() == text || fragment.text().contains(text))
                return fragment.charFormat();
        }
    }
    qWarning("not in the help document: %s", qPrintable(text));
    return {};
}

// The colour of every paragraph, top to bottom: the page's sections and
// their styles in one list.
QList<QColor> ParagraphColours(const QTextDocument& doc)
{
    QList<QColor> colours;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        colours.append(block.begin().fragment().charFormat().foreground().color());
    return colours;
}

const QStringList Headings{
    QStringLiteral("【　ご　挨　拶　】"), QStringLiteral("【アンインストール】"), QStringLiteral("【　遊び方　】"),
    QStringLiteral("【リーチアクション】"), QStringLiteral("【大当たり予告機能搭載】"), QStringLiteral("【得点の計算法】"),
    QStringLiteral("【著作権、配布、免責等】"), QStringLiteral("【サポート】"), QStringLiteral("【ご注意】"),
    QStringLiteral("【キー操作】"),
};
const QString TitleLine = QStringLiteral("　　　　　ゼルモア　　　　Version 1.２.0");

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ help window
    void helpOpensModeless()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        w.helpItem->trigger();
        ui::HelpWindow* help = w.helpWindow();
        QVERIFY(help);
        QVERIFY(help->isVisible() && help->isWindow() && !help->isModal());
        QVERIFY(rig.prompts.shown.isEmpty() && rig.dialogs.shown.isEmpty());
        QCOMPARE(help->windowTitle(), QStringLiteral("ゼルモアのヘルプ"));
        QCOMPARE(help->size(), QSize(499, 268));
        help->resize(800, 600); // its edges resize it, and the text fills it
        QCoreApplication::sendPostedEvents();
        QCOMPARE(help->size(), QSize(800, 600));
        QCOMPARE(help->document->geometry(), QRect(0, 0, 800, 600));
        QVERIFY(help->document->isReadOnly());
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor); // the hourglass is gone
        // The game goes on while the help is open.
        rig.rnd.push(pick(1, 4));
        w.covers[0]->click();
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("90"));
        QVERIFY(help->isVisible());
        // Asking again brings the same window to the front.
        w.helpItem->trigger();
        QCOMPARE(w.helpWindow(), help);
        QCOMPARE(OpenHelpWindows(), 1);
    }

    void escapeClosesOnlyTheHelp_data()
    {
        QTest::addColumn<bool>("onDocument");
        QTest::newRow("key on the document view") << true;
        QTest::newRow("key on the window") << false;
    }
    void escapeClosesOnlyTheHelp()
    {
        QFETCH(bool, onDocument);
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        w.helpItem->trigger();
        ui::HelpWindow* help = w.helpWindow();
        QWidget* target = onDocument ? static_cast<QWidget*>(help->document) : help;
        QTest::keyClick(target, Qt::Key_A);
        QVERIFY(help->isVisible());
        QTest::keyClick(target, Qt::Key_Escape);
        DeleteClosedWindows();
        QVERIFY(!w.helpWindow());
        QCOMPARE(OpenHelpWindows(), 0);
        QVERIFY(!rig.host.endedFlag);
    }

    void reopeningLoadsAfresh()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        w.helpItem->trigger();
        w.helpWindow()->document->setPlainText(QStringLiteral("scratch"));
        w.helpWindow()->close();
        DeleteClosedWindows();
        w.helpItem->trigger();
        QVERIFY(w.helpWindow()->document->toPlainText().contains(Headings.first()));
        QCOMPARE(OpenHelpWindows(), 1);
    }

    // Quitting with the help open: the help window goes with the main window,
    // and nothing is left pointing at either.
    void quittingWithTheHelpOpen()
    {
        SessionRig rig;
        rig.play();
        rig.window().helpItem->trigger();
        const QPointer<ui::HelpWindow> help = rig.window().helpWindow();
        for (int i = 0; i < 100; ++i)
            rig.rnd.push(0.5); // the save's random filler
        rig.window().quitItem->trigger();
        QCOMPARE(rig.host.endCount, 1);
        rig.endSession();
        QVERIFY(help.isNull());
        QCOMPARE(OpenHelpWindows(), 0);
    }

    // ------------------------------------------------------------ help document
    void documentHeadingsInOrder()
    {
        ui::HelpWindow help;
        const QStringList lines =
            help.document->toPlainText().split(QChar::ParagraphSeparator).join(u'\n').split(u'\n');
        QCOMPARE(lines.first(), TitleLine);
        for (const QString& line : lines)
            QVERIFY2(!line.endsWith(u' '), qPrintable(line)); // no stray blanks between paragraphs
        qsizetype at = 0;
        for (const QString& heading : Headings) {
            const qsizetype found = lines.indexOf(heading, at);
            QVERIFY2(found > at, qPrintable(heading));
            at = found;
        }
        for (const char16_t* figure : {u"６／３００", u"$1,000,000", u"$10,000,000", u"絵柄の数字 × 100 × BET",
                                       u"10000 × BET", u"1.5秒", u"左 → 右 → 中", u"1 ～ 4 キー、または A ～ D キー",
                                       u"スペースキー、または Enter キー", u"Z・X・C キー", u"点滅を控える"})
            QVERIFY2(help.document->toPlainText().contains(QString::fromUtf16(figure)),
                     qPrintable(QString::fromUtf16(figure)));
    }

    void documentStyles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("underlined");
        const QColor red(255, 0, 0), blue(0, 0, 255), magenta(255, 0, 255), black(0, 0, 0);
        QTest::newRow("heading") << Headings[2] << blue << false;
        QTest::newRow("formula") << QStringLiteral("通常：　絵柄の数字 × 100 × BET") << red << false;
        QTest::newRow("caution") << QStringLiteral("このプログラムはあくまでもゲームです。") << red << false;
        QTest::newRow("probability note") << QStringLiteral("※ 通常の大当たり確率は") << magenta << false;
        QTest::newRow("miss card") << QStringLiteral("はずれ") << black << true;
        QTest::newRow("body") << QStringLiteral("最初にあなたには") << black << false;
    }
    void documentStyles()
    {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QFETCH(bool, underlined);
        ui::HelpWindow help;
        const QTextCharFormat format = FormatOf(*help.document->document(), text);
        QCOMPARE(format.foreground().color(), colour);
        QCOMPARE(format.fontUnderline(), underlined);
        QCOMPARE(format.fontPointSize(), 10.5);
        QVERIFY(format.fontFamilies().toStringList().contains(QStringLiteral("ＭＳ 明朝")));
    }

    void documentTitleStyle()
    {
        ui::HelpWindow help;
        const QTextCharFormat format = FormatOf(*help.document->document(), TitleLine);
        QCOMPARE(format.foreground().color(), QColor(0, 255, 255));
        QCOMPARE(format.fontWeight(), int(QFont::Bold));
        QVERIFY(format.fontItalic());
        QCOMPARE(format.fontPointSize(), 14.0);
    }

    // The page and the title follow the language while the window is open;
    // a change that leaves the language as it was (Qt's own texts loading)
    // keeps the page where the player scrolled it.
    void documentOfTheLanguage_data()
    {
        QTest::addColumn<ui::Language>("from");
        QTest::addColumn<ui::Language>("to");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("firstHeading");
        const auto ja = ui::Language::Japanese, en = ui::Language::English;
        QTest::newRow("Japanese to English") << ja << en << QStringLiteral("Zelmor Help") << QStringLiteral("[ Welcome ]");
        QTest::newRow("English to Japanese") << en << ja << QStringLiteral("ゼルモアのヘルプ") << Headings.first();
        QTest::newRow("Japanese stays") << ja << ja << QStringLiteral("ゼルモアのヘルプ") << Headings.first();
    }
    void documentOfTheLanguage()
    {
        QFETCH(ui::Language, from);
        QFETCH(ui::Language, to);
        QFETCH(QString, title);
        QFETCH(QString, firstHeading);
        ui::SetLanguage(from);
        ui::HelpWindow help;
        help.show();
        help.document->verticalScrollBar()->setValue(100);
        ui::SetLanguage(to);
        QCoreApplication::sendPostedEvents();
        QEvent change(QEvent::LanguageChange); // as Qt sends for each catalogue it loads
        QCoreApplication::sendEvent(&help, &change);
        ui::SetLanguage(ui::Language::Japanese);
        QCOMPARE(help.windowTitle(), title);
        QCOMPARE(help.document->verticalScrollBar()->value() == 100, from == to);
        const QTextDocument& shown = *help.document->document();
        QCOMPARE(shown.findBlockByNumber(1).text(), firstHeading);
        QTextDocument japanese;
        japanese.setHtml(ui::HelpWindow::Document(ui::Language::Japanese));
        QCOMPARE(ParagraphColours(shown), ParagraphColours(japanese)); // the same sections, styled alike
    }

    // ------------------------------------------------------------ version window
    void versionWindow()
    {
        SessionRig rig;
        rig.play();
        bool checked = false;
        rig.dialogs.dialogHandlers.push_back([&](QDialog& dialog) {
            auto* about = qobject_cast<ui::AboutDialog*>(&dialog);
            QVERIFY(about);
            QCOMPARE(about->parentWidget(), &rig.window());
            QCOMPARE(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
            QCOMPARE(about->size(), QSize(382, 250));
            QCOMPARE(about->titleLabel->text(), QStringLiteral("Zelmor"));
            QCOMPARE(about->titleLabel->font().pointSizeF(), 24.0);
            QCOMPARE(about->versionLabel->text(), QStringLiteral("Version 1.2.0"));
            QVERIFY(about->icon->hasPicture());
            const QString description = about->descriptionLabel->text();
            QVERIFY(description.startsWith(QStringLiteral("遊び方：") + QString(84, QChar(0x3000))
                                           + QStringLiteral("あなたに１００＄")));
            QVERIFY(description.endsWith(QStringLiteral("そして５回のスロットチャンスに入ります。狙えば必ず揃います。")));
            QCOMPARE(about->separator[0]->palette().color(QPalette::Window), QColor(128, 128, 128));
            QCOMPARE(about->separator[1]->palette().color(QPalette::Window), QColor(255, 255, 255));
            QCOMPARE(about->creditsLabel->text(), QStringLiteral("絵・音楽・プログラム：ゼルモア制作チーム"));
            QVERIFY(about->okButton->isDefault());
            checked = true;
        });
        rig.window().versionItem->trigger();
        QVERIFY(checked);
        QCOMPARE(rig.dialogs.shown, QStringList{QStringLiteral("dialog ui::AboutDialog")});
    }

    void versionWindowCloses_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("OK") << 0;
    }
    void versionWindowCloses()
    {
        QFETCH(int, key);
        ui::AboutDialog about;
        about.show();
        about.okButton->setFocus();
        if (key)
            QTest::keyClick(&about, Qt::Key(key));
        else
            about.okButton->click();
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
