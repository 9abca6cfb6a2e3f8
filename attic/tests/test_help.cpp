// The Help menu: the modeless help window with its document, and the modal
// version window.
#include "app/MdlZelmor.h"
#include "features/FrmAbout.h"
#include "features/FrmHelp.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

using namespace testing;

namespace {

// Starts the game and forgets the messages of start-up (such as the first-time greeting).
FrmMain& Start(Game& game)
{
    FrmMain& form = game.start();
    game.prompts.messages.clear();
    return form;
}

int OpenHelpWindows()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<FrmHelp*>(w) && w->isVisible() ? 1 : 0;
    return count;
}

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The character format of the first text in the block that reads `text`,
// or of the fragment holding `text` when no block reads exactly that.
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

const QStringList Headings{
    QStringLiteral("【　ご　挨　拶　】"), QStringLiteral("【アンインストール】"), QStringLiteral("【　遊び方　】"),
    QStringLiteral("【リーチアクション】"), QStringLiteral("【大当たり予告機能搭載】"), QStringLiteral("【得点の計算法】"),
    QStringLiteral("【著作権、配布、免責等】"), QStringLiteral("【サポート】"), QStringLiteral("【ご注意】"),
};
const QString TitleLine = QStringLiteral("　　　　　ゼルモア　　　　Version 1.２.0");

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ help window
    void helpOpensModeless()
    {
        Game game;
        FrmMain& f = Start(game);
        f.mnuMes.click();
        FrmHelp* help = f.helpWindow();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(help->isWindow());
        QVERIFY(!help->isModal());
        QVERIFY(game.prompts.dialogsShown.isEmpty());
        QCOMPARE(help->windowTitle(), QStringLiteral("ゼルモアのヘルプ"));
        QCOMPARE(help->size(), QSize(499, 268));
        QCOMPARE(help->RichTextBox1->geometry(), QRect(0, 0, 497, 265));
        QVERIFY(help->RichTextBox1->isReadOnly());
        QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
        // The game goes on while the help is open.
        game.rnd.script({pick(1, 4)});
        f.Image10.click();
        QCOMPARE(f.Label1.caption(), QStringLiteral("90"));
        QVERIFY(help->isVisible());
    }

    void helpWhileHelpIsOpen()
    {
        Game game;
        FrmMain& f = Start(game);
        f.mnuMes.click();
        FrmHelp* first = f.helpWindow();
        f.mnuMes.click();
        QCOMPARE(f.helpWindow(), first);
        QCOMPARE(OpenHelpWindows(), 1);
        QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
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
        Game game;
        FrmMain& f = Start(game);
        f.mnuMes.click();
        FrmHelp* help = f.helpWindow();
        QWidget* target = onDocument ? static_cast<QWidget*>(help->RichTextBox1) : help;
        QTest::keyClick(target, Qt::Key_A);
        QVERIFY(help->isVisible());
        QTest::keyClick(target, Qt::Key_Escape);
        DeleteClosedWindows();
        QVERIFY(!f.helpWindow());
        QCOMPARE(OpenHelpWindows(), 0);
        QVERIFY(!game.host.endedFlag);
        // Escape on the main window itself still quits.
        QTest::keyClick(f.centralWidget(), Qt::Key_Escape);
        QVERIFY(game.host.endedFlag);
    }

    void reopeningLoadsAfresh()
    {
        Game game;
        FrmMain& f = Start(game);
        f.mnuMes.click();
        f.helpWindow()->RichTextBox1->setPlainText(QStringLiteral("scratch"));
        f.helpWindow()->close();
        DeleteClosedWindows();
        QVERIFY(!f.helpWindow());
        f.mnuMes.click();
        QVERIFY(f.helpWindow());
        QVERIFY(f.helpWindow()->RichTextBox1->toPlainText().contains(Headings.first()));
        QCOMPARE(OpenHelpWindows(), 1);
    }

    // ------------------------------------------------------------ help document
    void documentHeadingsInOrder()
    {
        FrmHelp help;
        const QStringList lines = help.RichTextBox1->toPlainText().split(QChar::ParagraphSeparator).join(u'\n').split(u'\n');
        QCOMPARE(lines.first(), TitleLine);
        for (const QString& line : lines)
            QVERIFY2(!line.endsWith(u' '), qPrintable(line)); // no stray blanks between paragraphs
        qsizetype at = 0;
        for (const QString& heading : Headings) {
            const qsizetype found = lines.indexOf(heading, at);
            QVERIFY2(found > at, qPrintable(heading));
            at = found;
        }
    }

    void documentFigures_data()
    {
        QTest::addColumn<QString>("figure");
        for (const char16_t* figure : {u"1/50", u"６／３００", u"$100", u"$10", u"10 倍", u"５回", u"1.5秒",
                                       u"$1,000,000", u"$10,000,000", u"絵柄の数字 × 100 × BET", u"＋ $1000",
                                       u"10000 × BET", u"絵柄の数字 × 10000 × BET", u"10000$ の絵柄は狙い出目に選べません",
                                       u"（ほとんど）", u"左 → 右 → 中"})
            QTest::newRow(qPrintable(QString::fromUtf16(figure))) << QString::fromUtf16(figure);
    }
    void documentFigures()
    {
        QFETCH(QString, figure);
        FrmHelp help;
        QVERIFY(help.RichTextBox1->toPlainText().contains(figure));
    }

    void documentColours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("underlined");
        const QColor red(255, 0, 0), blue(0, 0, 255), magenta(255, 0, 255), black(0, 0, 0);
        for (const QString& heading : Headings)
            QTest::newRow(qPrintable(heading)) << heading << blue << false;
        QTest::newRow("formula") << QStringLiteral("通常：　絵柄の数字 × 100 × BET") << red << false;
        QTest::newRow("target formula") << QStringLiteral("狙い出目で大当たり") << red << false;
        QTest::newRow("caution") << QStringLiteral("このプログラムはあくまでもゲームです。") << red << false;
        QTest::newRow("probability note") << QStringLiteral("※ 通常の大当たり確率は") << magenta << false;
        QTest::newRow("reach closing line") << QStringLiteral("1.5秒待ってください") << magenta << false;
        QTest::newRow("miss card") << QStringLiteral("はずれ") << black << true;
        QTest::newRow("Start") << QStringLiteral("Ｓｔａｒｔ") << black << true;
        QTest::newRow("$100 loan") << QStringLiteral("１００＄借して") << black << true;
        QTest::newRow("$1000 loan") << QStringLiteral("１０００＄借して") << black << true;
        QTest::newRow("body") << QStringLiteral("最初にあなたには") << black << false;
    }
    void documentColours()
    {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QFETCH(bool, underlined);
        FrmHelp help;
        const QTextCharFormat format = FormatOf(*help.RichTextBox1->document(), text);
        QCOMPARE(format.foreground().color(), colour);
        QCOMPARE(format.fontUnderline(), underlined);
        QCOMPARE(format.fontPointSize(), 10.5);
        QVERIFY(format.fontFamilies().toStringList().contains(QStringLiteral("ＭＳ 明朝")));
    }

    void documentTitleStyle()
    {
        FrmHelp help;
        const QTextCharFormat format = FormatOf(*help.RichTextBox1->document(), TitleLine);
        QCOMPARE(format.foreground().color(), QColor(0, 255, 255));
        QCOMPARE(format.fontWeight(), int(QFont::Bold));
        QVERIFY(format.fontItalic());
        QCOMPARE(format.fontPointSize(), 14.0);
    }

    // ------------------------------------------------------------ version window
    void versionWindow()
    {
        Game game;
        FrmMain& f = Start(game);
        bool checked = false;
        game.prompts.dialogHandlers.push_back([&](QDialog& dialog) {
            auto* about = qobject_cast<FrmAbout*>(&dialog);
            QVERIFY(about);
            QCOMPARE(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
            QCOMPARE(about->size(), QSize(382, 250));
            QCOMPARE(about->lblVersion.caption(), QStringLiteral("Version 1.2.0"));
            QCOMPARE(about->lblTitle.caption(), QStringLiteral("Zelmor"));
            QCOMPARE(about->lblTitle.widget()->font().pointSizeF(), 24.0);
            QVERIFY(about->lblTitle.widget()->font().bold());
            QVERIFY(about->picIcon.hasPicture());
            const QString description = about->lblDescription.caption();
            QVERIFY(description.startsWith(QStringLiteral("遊び方：") + QString(84, QChar(0x3000)) + QStringLiteral("あなたに１００＄")));
            QVERIFY(description.endsWith(QStringLiteral("そして５回のスロットチャンスに入ります。狙えば必ず揃います。")));
            QVERIFY(about->lblDescription.widget()->wordWrap());
            QCOMPARE(about->Line1[0]->palette().color(QPalette::Window), QColor(128, 128, 128));
            QCOMPARE(about->Line1[1]->palette().color(QPalette::Window), QColor(255, 255, 255));
            QVERIFY(about->Line1[0]->y() < about->Line1[1]->y());
            QVERIFY(!about->lblDisclaimer.caption().isEmpty());
            QCOMPARE(about->cmdOK->text(), QStringLiteral("OK"));
            QVERIFY(about->cmdOK->isDefault());
            checked = true;
        });
        f.mnuVer.click();
        QVERIFY(checked);
        QCOMPARE(game.prompts.dialogsShown, QStringList{QStringLiteral("FrmAbout")});
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
        Game game;
        FrmMain& f = Start(game);
        FrmAbout about(&f);
        about.show();
        about.cmdOK->setFocus();
        if (key)
            QTest::keyClick(&about, Qt::Key(key));
        else
            about.cmdOK->click();
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        QVERIFY(!game.host.endedFlag);
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
