// SPDX-License-Identifier: MIT
// The game's prompts as the player sees them: the message box (title, text,
// icon, buttons and the answer each way of closing it gives), the words of
// every notice, the probability command's input box, and the modal dialogs,
// each of which returns the player's choice.
#include "game/StartUp.h"
#include "tests/support/Rig.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/DialogPrompter.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/GameStyle.h"
#include "ui/HistoryMessages.h"
#include "ui/MessageBox.h"
#include "ui/TargetDialog.h"
#include "ui/VolumeDialog.h"
#include "ui/WitsFailureDialog.h"
#include "ui/WitsWelcomeDialog.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <functional>

using game::Notice;
using game::WitsChoice;
using ui::Answer;
using ui::Buttons;

Q_DECLARE_METATYPE(game::Notice)
Q_DECLARE_METATYPE(game::WitsChoice)
Q_DECLARE_METATYPE(ui::Buttons)
Q_DECLARE_METATYPE(ui::Answer)
Q_DECLARE_METATYPE(ui::Message)
Q_DECLARE_METATYPE(ui::HistoryNews)

namespace {

QStringList Captions(const QMessageBox& box)
{
    QStringList captions;
    for (QAbstractButton* button : box.buttons())
        captions << button->text();
    captions.sort();
    return captions;
}

// Runs a real box and closes it from inside its event loop the way `close` does.
Answer RunAndClose(Buttons buttons, const std::function<void(QMessageBox&)>& close)
{
    const auto box = ui::MakeMessageBox({QStringLiteral("ゼルモア"), QStringLiteral("?"), QMessageBox::Warning, buttons});
    QTimer::singleShot(0, box.get(), [&box, &close] { close(*box); });
    return ui::RunMessageBox(*box, buttons);
}

Notice Told(Notice::Kind kind, qint64 number = 0, const QString& text = QString(), const QString& path = QString(),
            const QString& otherPath = QString())
{
    Notice notice;
    notice.kind = kind;
    notice.number = number;
    notice.text = text;
    notice.path = path;
    notice.otherPath = otherPath;
    return notice;
}

// The next modal dialog must be a D; `act` answers it as the player would.
template <class D>
void WhenShown(testing::ScriptedDialogs& dialogs, const std::function<void(D&)>& act)
{
    dialogs.dialogHandlers.push_back([act](QDialog& shown) {
        auto* dialog = qobject_cast<D*>(&shown);
        QVERIFY2(dialog, shown.metaObject()->className());
        act(*dialog);
    });
}

const QString Title = QStringLiteral("ゼルモア");
const QString Promise = QStringLiteral("残念ですがデータは初期値に戻しましたので、ご了承下さい。");
const QString Disclaimer = QStringLiteral("注意：あなたがデータ変更したことによっての生じたいかなる障害・問題\r\n"
                                          "　　　　に対しても作者は一切の責任を負わないものとします。");
const QString Consolation = QStringLiteral("あなたは　残念賞　と認定されました。");

} // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setStyle(new ui::GameStyle); }

    // ------------------------------------------------------------ message box
    void layout_data()
    {
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("defaultCaption");
        QTest::newRow("notice") << QMessageBox::Information << Buttons::Ok << QStringList{"OK"} << "OK";
        QTest::newRow("confirmation") << QMessageBox::Warning << Buttons::YesNo
                                      << QStringList{"いいえ(&N)", "はい(&Y)"} << "はい(&Y)";
        QTest::newRow("save failure") << QMessageBox::Critical << Buttons::Ok << QStringList{"OK"} << "OK";
        QTest::newRow("fatal, no icon") << QMessageBox::NoIcon << Buttons::Ok << QStringList{"OK"} << "OK";
    }
    void layout()
    {
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(Buttons, buttons);
        QFETCH(QStringList, captions);
        QFETCH(QString, defaultCaption);
        const auto box = ui::MakeMessageBox({Title, QStringLiteral("一行目\r\n二行目"), icon, buttons});
        QCOMPARE(box->windowTitle(), Title);
        QCOMPARE(box->text(), QStringLiteral("一行目\n二行目"));
        QCOMPARE(Captions(*box), captions);
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
        const auto box = ui::MakeMessageBox({Title, QStringLiteral("<b>$100</b> &amp;")});
        QCOMPARE(box->textInteractionFlags(), Qt::NoTextInteraction);
        const auto labels = box->findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->text() == QStringLiteral("<b>$100</b> &amp;") && label->textFormat() == Qt::PlainText;
        }));
    }

    void answers_data()
    {
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QString>("how"); // a button caption, or a key
        QTest::addColumn<Answer>("answer");
        QTest::newRow("Yes") << Buttons::YesNo << "はい(&Y)" << Answer::Yes;
        QTest::newRow("No") << Buttons::YesNo << "いいえ(&N)" << Answer::No;
        QTest::newRow("Enter is Yes") << Buttons::YesNo << "Enter" << Answer::Yes;
        QTest::newRow("Escape is No") << Buttons::YesNo << "Escape" << Answer::No;
        QTest::newRow("close box is No") << Buttons::YesNo << "close" << Answer::No;
        QTest::newRow("OK") << Buttons::Ok << "OK" << Answer::Ok;
        QTest::newRow("Escape is OK") << Buttons::Ok << "Escape" << Answer::Ok;
    }
    void answers()
    {
        QFETCH(Buttons, buttons);
        QFETCH(QString, how);
        QFETCH(Answer, answer);
        const Answer given = RunAndClose(buttons, [how](QMessageBox& box) {
            if (how == QStringLiteral("Enter"))
                QTest::keyClick(&box, Qt::Key_Return);
            else if (how == QStringLiteral("Escape"))
                QTest::keyClick(&box, Qt::Key_Escape);
            else if (how == QStringLiteral("close"))
                box.close();
            for (QAbstractButton* button : box.buttons())
                if (button->text() == how)
                    button->click();
        });
        QCOMPARE(given, answer);
    }

    // The icons are drawn for the screen: sharp at double density, see-through
    // around their shape, and told apart by colour.
    void icons()
    {
        for (qreal dpr : {1.0, 2.0}) {
            for (auto icon : {QMessageBox::Information, QMessageBox::Warning, QMessageBox::Critical}) {
                const QPixmap pixmap = ui::MessageIcon(icon, dpr);
                QCOMPARE(pixmap.size(), QSize(32, 32) * dpr);
                QCOMPARE(pixmap.toImage().pixelColor(0, 0).alpha(), 0);
            }
        }
        const QColor information = ui::MessageIcon(QMessageBox::Information, 1).toImage().pixelColor(8, 16);
        const QColor warning = ui::MessageIcon(QMessageBox::Warning, 1).toImage().pixelColor(10, 26);
        const QColor critical = ui::MessageIcon(QMessageBox::Critical, 1).toImage().pixelColor(8, 16);
        QVERIFY(information.blue() > information.red());
        QVERIFY(warning.red() > 200 && warning.green() > 120 && warning.blue() < 100);
        QVERIFY(critical.red() > critical.blue() && critical.red() > critical.green());
        QVERIFY(ui::MessageIcon(QMessageBox::Question, 1).isNull());
        QVERIFY(!QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).isNull());
    }

    // ------------------------------------------------------------ notices
    // Every notice in its own words, byte for byte, with its title, icon and
    // buttons.
    void notices_data()
    {
        QTest::addColumn<Notice>("notice");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QMessageBox::Icon>("icon");
        const auto info = QMessageBox::Information;
        // Play
        QTest::newRow("BetLimit") << Told(Notice::BetLimit) << Title << "ＢＥＴは１０倍迄です。" << info;
        QTest::newRow("SoundDeviceFailed") << Told(Notice::SoundDeviceFailed) << Title
                                           << "音源デバイスエラーです。<音はいらない> に自動設定します。" << info;
        QTest::newRow("Bust") << Told(Notice::Bust) << Title << "パンクしました。" << info;
        QTest::newRow("Goal") << Told(Notice::Goal) << Title
                              << "達成おめでとうございます。\r\n今後確率を自由に変更できます。\r\n"
                                 "１００＄から再スタートとなります。"
                              << info;
        QTest::newRow("LoanNotNeeded") << Told(Notice::LoanNotNeeded) << Title << "どうして？お金もってるじゃない！"
                                       << info;
        QTest::newRow("LoanRefused 1") << Told(Notice::LoanRefused, 1) << Title << "僕も貸す金ないよ." << info;
        QTest::newRow("LoanRefused 2") << Told(Notice::LoanRefused, 2) << Title << "貸せないよ." << info;
        QTest::newRow("LoanRefused 3") << Told(Notice::LoanRefused, 3) << Title << "そんな簡単に貸せないよ." << info;
        QTest::newRow("BigLoanRefused") << Told(Notice::BigLoanRefused) << Title << "ちょっと！そんな大金ないよ。"
                                        << info;
        QTest::newRow("ProbabilityChanged") << Told(Notice::ProbabilityChanged, 5000) << Title
                                            << "確率を5000分の6に変更しました。" << info;
        // Start-up
        QTest::newRow("Welcome") << Told(Notice::Welcome) << Title
                                 << "この度はダウンロードして頂きありがとうございます。\r\n"
                                    "ちょっとした息抜きにぴったりですので、末永く御利用\r\n"
                                    "下さいます様お願い致します。"
                                 << info;
        QTest::newRow("DenominatorRefused") << Told(Notice::DenominatorRefused) << Title
                                            << "確率の分子は６の為、分母は６以上の値を設定して下さい。\r\n"
                                               "６でほとんど大当たりします。初期値は３００です。"
                                            << info;
        QTest::newRow("CheckPassed") << Told(Notice::CheckPassed) << Title
                                     << "チェックをパスする事に成功しました。\r\n"
                                        "ご褒美としてあなた様には確率を変動させることを許可します。\r\n"
                                        "Zelmor.ini ３０行に分母の確立が設定できます。\r\n"
                                        "初期値 6/300 ですので 6の設定でほとんど大当たりが期待できます。\r\n"
                                        "また、ご意見、ご感想をメールでいただけたらと思います。\r\n"
                                        "右記メールアドレスでお待ちしています。 zelmor@example.com"
                                     << info;
        // The denominator as the files give it, whatever it is.
        QTest::newRow("CurrentProbability") << Told(Notice::CurrentProbability, 0, "1e2x") << Title
                                            << "現在の確率設定は、1e2x分の6に設定されています。" << info;
        // The files
        QTest::newRow("AlreadyRunning") << Told(Notice::AlreadyRunning, 0, {}, "/home/p/.local/share/zelmor") << Title
                                        << "ゼルモアはすでに起動しています。\r\n"
                                           "同じデータ（/home/p/.local/share/zelmor）で遊べるゼルモアは一つだけです。"
                                        << QMessageBox::Warning;
        // A directory named like a placeholder stays as it is.
        QTest::newRow("CannotLock") << Told(Notice::CannotLock, 0, {}, "/ro/zelmor/Zelmor.lock") << Title
                                    << "ゼルモアを二重に起動しないためのファイル（/ro/zelmor/Zelmor.lock）を作れないため、\r\n"
                                       "ゼルモアを終了します。データは変更していません。"
                                    << QMessageBox::Critical;
        QTest::newRow("PairMoved") << Told(Notice::PairMoved, 0, {}, "/opt/%2 zelmor", "/home/p/data") << Title
                                   << "ゼルモアのフォルダ（/opt/%2 zelmor）には保存できないため、\r\n"
                                      "データを /home/p/data に移しました。今後はこちらに保存します。"
                                   << info;
        QTest::newRow("PairNotMoved") << Told(Notice::PairNotMoved, 0, {}, "/opt/zelmor", "/home/p/data") << Title
                                      << "ゼルモアのフォルダ（/opt/zelmor）には保存できず、\r\n"
                                         "データを /home/p/data に移すこともできませんでした。\r\n"
                                         "今回の結果は保存されません。"
                                      << info;
        QTest::newRow("LoadFailed") << Told(Notice::LoadFailed, 62, {}, "/opt/zelmor/Zelmor.ini") << "Zelmor"
                                    << "致命的なエラーが発生しました。\r\nエラー番号  62 でエラーが発生しています。\r\n"
                                       "ファイル：/opt/zelmor/Zelmor.ini\r\n"
                                       "この番号を作者までご連絡下さい。次期バージョンに修正します。"
                                    << QMessageBox::NoIcon;
        // A save that fails: what happened, where, and what is kept. Only a
        // file held by another program keeps the old words.
        auto saveFailed = [](game::SaveProblem problem, const QString& path) {
            Notice notice = Told(Notice::SaveFailed, 0, {}, path);
            notice.saveProblem = problem;
            return notice;
        };
        const QString kept = QStringLiteral("\r\n前回までのデータはそのまま残っています。");
        QTest::newRow("SaveFailed held") << saveFailed(game::SaveProblem::HeldByAnotherProgram, "/p/Zelmor.bin") << Title
                                         << "他のアプリケーションがゼルモアのデータファイルをアクセスしています。\r\n"
                                            "最終データは登録されませんでした。"
                                         << QMessageBox::Critical;
        QTest::newRow("SaveFailed disk full")
            << saveFailed(game::SaveProblem::DiskFull, "/home/p/.local/share/zelmor") << Title
            << "保存先（/home/p/.local/share/zelmor）のディスクに空きがないため、今回のデータを保存できませんでした。" + kept
            << QMessageBox::Critical;
        QTest::newRow("SaveFailed not writable")
            << saveFailed(game::SaveProblem::NotWritable, "/p") << Title
            << "/p に書き込めない（読み取り専用か、権限がない）ため、今回のデータを保存できませんでした。" + kept
            << QMessageBox::Critical;
        QTest::newRow("SaveFailed in the way")
            << saveFailed(game::SaveProblem::InTheWay, "/p/Zelmor.ini") << Title
            << "/p/Zelmor.ini にファイルではないもの（フォルダなど）があるため、今回のデータを保存できませんでした。" + kept
            << QMessageBox::Critical;
        QTest::newRow("SaveFailed unfinished") << saveFailed(game::SaveProblem::Unfinished, "/p/Zelmor.bin") << Title
                                               << "データファイル（/p/Zelmor.bin）を置き換えられず、保存が途中で止まりました。\r\n"
                                                  "今回のデータは、次回の起動時に保存を終えます。"
                                               << QMessageBox::Critical;
        QTest::newRow("SaveFailed other") << saveFailed(game::SaveProblem::Other, "/p") << Title
                                          << "/p への書き込み中にエラーが発生したため、今回のデータを保存できませんでした。" + kept
                                          << QMessageBox::Critical;
        // After a first start there is no earlier save to keep.
        Notice firstSave = saveFailed(game::SaveProblem::NotWritable, "/p");
        firstSave.earlierSaveKept = false;
        QTest::newRow("SaveFailed, no earlier save")
            << firstSave << Title << "/p に書き込めない（読み取り専用か、権限がない）ため、今回のデータを保存できませんでした。"
            << QMessageBox::Critical;
        Notice missing = Told(Notice::FilesMissing, 0, {}, "/opt/zelmor");
        missing.files = QStringList{"COVER.BMP", "ROLL.MID"};
        QTest::newRow("FilesMissing") << missing << Title
                                      << "ゼルモアのフォルダ（/opt/zelmor）に次のファイルがありません。\r\n"
                                         "COVER.BMP、ROLL.MID\r\n"
                                         "絵は代わりの絵を表示し、音は鳴らさずに、このまま遊べます。"
                                      << QMessageBox::Warning;
    }
    void notices()
    {
        QFETCH(Notice, notice);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QMessageBox::Icon, icon);
        testing::ScriptedDialogs dialogs;
        ui::DialogPrompter prompter;
        prompter.tell(notice);
        QCOMPARE(dialogs.shown, QStringList{QStringLiteral("message ") + text});
        QCOMPARE(dialogs.messages.front(), (ui::Message{title, text, icon, Buttons::Ok}));
    }

    // What the play history tells: the reason or the path after the words.
    void historyNews_data()
    {
        QTest::addColumn<ui::HistoryNews>("news");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QMessageBox::Icon>("icon");
        using ui::HistoryNews;
        const auto warning = QMessageBox::Warning;
        QTest::newRow("Unusable") << HistoryNews::Unusable
                                  << "プレイ履歴（history.sqlite）を使えません。\r\n"
                                     "履歴は記録されませんが、ゲームはこのまま続けられます。\r\n"
                                     "保存ファイルには影響ありません。\r\n\r\n(detail)"
                                  << warning;
        QTest::newRow("CannotExport") << HistoryNews::CannotExport
                                      << "プレイ履歴ファイルが使えないため、書き出せません。" << warning;
        QTest::newRow("Exported") << HistoryNews::Exported << "プレイ履歴を書き出しました。\r\n(detail)"
                                  << QMessageBox::Information;
        QTest::newRow("ExportFailed") << HistoryNews::ExportFailed << "プレイ履歴を書き出せませんでした。\r\n(detail)"
                                      << warning;
        QTest::newRow("CannotClear") << HistoryNews::CannotClear
                                     << "プレイ履歴ファイルが使えないため、消去できません。" << warning;
        QTest::newRow("ClearFailed") << HistoryNews::ClearFailed << "プレイ履歴を消去できませんでした。\r\n(detail)"
                                     << warning;
    }
    void historyNews()
    {
        QFETCH(ui::HistoryNews, news);
        QFETCH(QString, text);
        QFETCH(QMessageBox::Icon, icon);
        testing::ScriptedDialogs dialogs;
        ui::TellHistory(news, QStringLiteral("(detail)"));
        QCOMPARE(dialogs.messages, (std::vector<ui::Message>{{Title, text, icon, Buttons::Ok}}));
    }

    // The battle of wits' failure notice is a dialog of its own: the count as
    // the files hold it, a hint at 1, 5 and 9 failures, and the consolation
    // from game::ConsolationFailures on. Only its close box closes it.
    void witsFailure_data()
    {
        QTest::addColumn<qint64>("failures");
        QTest::addColumn<QString>("count"); // the notice's text; none: the number is shown
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("hints");
        QTest::addColumn<bool>("consolation");
        QTest::newRow("1") << qint64(1) << "" << "1" << 1 << false;
        QTest::newRow("4") << qint64(4) << "" << "4" << 1 << false;
        QTest::newRow("5") << qint64(5) << "" << "5" << 2 << false;
        QTest::newRow("9") << qint64(9) << "" << "9" << 3 << false;
        QTest::newRow("the consolation") << qint64(game::ConsolationFailures) << "" << "10" << 3 << true;
        QTest::newRow("a fraction of a failure below 5") << qint64(4) << "4.75" << "4.75" << 1 << false;
        QTest::newRow("far beyond any whole number")
            << qint64(9e18) << "100000000000000000000" << "100000000000000000000" << 3 << true;
    }
    void witsFailure()
    {
        QFETCH(qint64, failures);
        QFETCH(QString, count);
        QFETCH(QString, shown);
        QFETCH(int, hints);
        QFETCH(bool, consolation);
        testing::Seams seams;
        seams.host.dir = QStringLiteral(ZELMOR_ASSET_DIR);
        testing::ScriptedDialogs dialogs;
        bool checked = false;
        WhenShown<ui::WitsFailureDialog>(dialogs, [&](ui::WitsFailureDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("ゼルモア　知恵くらべ"));
            QVERIFY(dialog.picture->hasPicture());
            QCOMPARE(dialog.countLabel->text(), shown);
            int visible = 0;
            for (const ui::TextLabel* hint : dialog.hints)
                visible += hint->isHidden() ? 0 : 1;
            QCOMPARE(visible, hints);
            QCOMPARE(dialog.messageLabel->text() == Consolation, consolation);
            dialog.show();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(dialog.isVisible());
            checked = true;
        });
        ui::DialogPrompter prompter;
        prompter.tell(Told(Notice::WitsFailure, failures, count));
        QVERIFY(checked);
        QVERIFY(dialogs.messages.empty());
    }

    // ------------------------------------------------------------ the probability command
    void denominator_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK") << true << "50";
        QTest::newRow("キャンセル") << false << "";
    }
    void denominator()
    {
        QFETCH(bool, accept);
        QFETCH(QString, answer);
        testing::ScriptedDialogs dialogs;
        WhenShown<QInputDialog>(dialogs, [&](QInputDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("確率変動"));
            QCOMPARE(dialog.labelText(), QStringLiteral("確率の分母を入力してください。\n"
                                                        "通常の確率分母は 300 です。\n"
                                                        "大当り値が 6 個ある為 6 以下の数値は入力できません。"));
            QCOMPARE(dialog.textValue(), QStringLiteral("300"));
            QCOMPARE(QStringList({dialog.okButtonText(), dialog.cancelButtonText()}), QStringList({"OK", "キャンセル"}));
            dialog.setTextValue(QStringLiteral("50"));
            accept ? dialog.accept() : dialog.reject();
        });
        ui::DialogPrompter prompter;
        QCOMPARE(prompter.askDenominator(QStringLiteral("300")), answer);
    }

    // ------------------------------------------------------------ target symbol
    // The symbol bought; the owner's pointer is the hourglass while the
    // dialog is open and what it was before once it has closed.
    void targetChoice_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("symbol");
        QTest::addColumn<bool>("ownerCursor"); // the owner shows a pointer of its own
        QTest::newRow("symbol 1") << "1" << 1 << false;
        QTest::newRow("symbol 9") << "9" << 9 << true;
        QTest::newRow("none") << "none" << 0 << false;
        QTest::newRow("Escape") << "Escape" << 0 << false;
        QTest::newRow("close box") << "close" << 0 << false;
    }
    void targetChoice()
    {
        QFETCH(QString, how);
        QFETCH(int, symbol);
        QFETCH(bool, ownerCursor);
        testing::Seams seams;
        seams.host.dir = QStringLiteral(ZELMOR_ASSET_DIR);
        testing::ScriptedDialogs dialogs;
        QWidget owner;
        owner.setGeometry(100, 100, 494, 285);
        if (ownerCursor)
            owner.setCursor(Qt::BusyCursor);
        WhenShown<ui::TargetDialog>(dialogs, [&](ui::TargetDialog& dialog) {
            QCOMPARE(owner.cursor().shape(), Qt::WaitCursor);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("狙い出目の選択　　　選択すると１００＄支払います。"));
            QCOMPARE(dialog.parentWidget(), &owner);
            QVERIFY(dialog.symbols[2]->picture().endsWith(QStringLiteral("/R03.BMP")));
            QCOMPARE(dialog.noneButton->text(), QStringLiteral("選択しない"));
            QCOMPARE(dialog.noteLabel->text(),
                     QStringLiteral("もし、大当たりして狙い目通りだと、得点のさらに１００倍になります."));
            dialog.show();
            if (how == QStringLiteral("none"))
                dialog.noneButton->click();
            else if (how == QStringLiteral("Escape"))
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (how == QStringLiteral("close"))
                dialog.close();
            else
                dialog.symbols[how.toInt() - 1]->click();
            QVERIFY(!dialog.isVisible());
        });
        ui::DialogPrompter prompter;
        prompter.setOwner(&owner);
        QCOMPARE(prompter.askTarget(), symbol);
        QCOMPARE(owner.cursor().shape(), ownerCursor ? Qt::BusyCursor : Qt::ArrowCursor);
    }

    // ------------------------------------------------------------ battle of wits
    void witsWelcome_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Answer>("confirmation"); // the answer to the disclaimer
        QTest::addColumn<WitsChoice>("choice");
        QTest::addColumn<QList<ui::Message>>("messages");
        const ui::Message promise{Title, Promise, QMessageBox::Information, Buttons::Ok};
        const ui::Message disclaimer{QStringLiteral("ゼルモア　ご確認"), Disclaimer, QMessageBox::Warning,
                                     Buttons::YesNo};
        QTest::newRow("promise") << "promise" << Answer::Ok << WitsChoice::Promise << QList<ui::Message>{promise};
        QTest::newRow("challenge, Yes") << "challenge" << Answer::Yes << WitsChoice::Challenge
                                        << QList<ui::Message>{disclaimer};
        QTest::newRow("challenge, No") << "challenge" << Answer::No << WitsChoice::Promise
                                       << QList<ui::Message>{disclaimer, promise};
        QTest::newRow("close box") << "close" << Answer::Ok << WitsChoice::Closed << QList<ui::Message>{};
        QTest::newRow("Escape") << "Escape" << Answer::Ok << WitsChoice::Closed << QList<ui::Message>{};
    }
    void witsWelcome()
    {
        QFETCH(QString, button);
        QFETCH(Answer, confirmation);
        QFETCH(WitsChoice, choice);
        QFETCH(QList<ui::Message>, messages);
        testing::Seams seams;
        seams.host.dir = QStringLiteral(ZELMOR_ASSET_DIR);
        testing::ScriptedDialogs dialogs;
        if (confirmation != Answer::Ok)
            dialogs.answers.push_back(confirmation);
        WhenShown<ui::WitsWelcomeDialog>(dialogs, [&](ui::WitsWelcomeDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("ゼルモア　知恵くらべにようこそ"));
            QVERIFY(dialog.picture->hasPicture());
            dialog.show();
            if (button == QStringLiteral("promise"))
                dialog.promiseButton->click();
            else if (button == QStringLiteral("challenge"))
                dialog.challengeButton->click();
            else if (button == QStringLiteral("Escape"))
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
            QVERIFY(!dialog.isVisible());
        });
        ui::DialogPrompter prompter;
        QCOMPARE(prompter.askWits(), choice);
        QCOMPARE(QList<ui::Message>(dialogs.messages.begin(), dialogs.messages.end()), messages);
    }

    // ------------------------------------------------------------ volumes
    // Two sliders in the game's face, each with its percentage; they report
    // the volumes as they move, and Escape puts back (and reports) those the
    // dialog opened with.
    void volumeDialog()
    {
        QWidget owner;
        owner.setGeometry(100, 100, 494, 285);
        ui::VolumeDialog dialog(70, 35, &owner);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("音量"));
        QCOMPARE(dialog.font(), ui::GameFont());
        QCOMPARE(dialog.parentWidget(), &owner);
        QCOMPARE(QStringList({dialog.musicHeading->text(), dialog.effectsHeading->text(), dialog.okButton->text(),
                              dialog.cancelButton->text()}),
                 QStringList({"音楽", "効果音", "OK", "キャンセル"}));
        QCOMPARE(QStringList({dialog.musicValue->text(), dialog.effectsValue->text()}), QStringList({"70%", "35%"}));
        QList<std::pair<int, int>> reported;
        connect(&dialog, &ui::VolumeDialog::volumesChanged, [&](int music, int effects) {
            reported.append({music, effects});
        });
        dialog.show();
        QTest::keyClick(dialog.musicSlider, Qt::Key_End);
        QTest::keyClick(dialog.effectsSlider, Qt::Key_Left);
        QCOMPARE(QStringList({dialog.musicValue->text(), dialog.effectsValue->text()}), QStringList({"100%", "34%"}));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(reported, (QList<std::pair<int, int>>{{100, 35}, {100, 34}, {70, 34}, {70, 35}}));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestMessageBox)
#include "test_messagebox.moc"
