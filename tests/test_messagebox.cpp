// SPDX-License-Identifier: MIT
// The game's prompts as the player sees them: the message box (title, text,
// icon, buttons and the answer each way of closing it gives), the input box,
// and the modal dialogs, each of which returns the player's choice.
#include "platform/Runtime.h"
#include "tests/support/Rig.h"
#include "ui/DialogPrompter.h"
#include "ui/GameStyle.h"
#include "ui/MessageBox.h"
#include "ui/Fonts.h"
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

using namespace seams;

Q_DECLARE_METATYPE(seams::WitsChoice)

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

// Acts on the modal dialog of type D once its event loop runs.
template <class D>
void WhenShown(const std::function<void(D&)>& act)
{
    QTimer::singleShot(0, qApp, [act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
    });
}

const QString Promise = QStringLiteral("残念ですがデータは初期値に戻しましたので、ご了承下さい。");
const QString Disclaimer = QStringLiteral("注意：あなたがデータ変更したことによっての生じたいかなる障害・問題\r\n"
                                          "　　　　に対しても作者は一切の責任を負わないものとします。");

} // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setStyle(new ui::GameStyle); }

    // ------------------------------------------------------------ message box
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
        const auto box = ui::MakeMessageBox(QStringLiteral("<b>$100</b> &amp;"), vbInformation, QString());
        QCOMPARE(box->windowTitle(), QStringLiteral("Zelmor")); // untitled: the program's name
        QCOMPARE(box->textInteractionFlags(), Qt::NoTextInteraction);
        const auto labels = box->findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->text() == QStringLiteral("<b>$100</b> &amp;") && label->textFormat() == Qt::PlainText;
        }));
    }

    void answers_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("how"); // a button caption, or a key
        QTest::addColumn<int>("answer");
        const int yesNo = vbExclamation | vbYesNo;
        QTest::newRow("Yes") << yesNo << "はい(&Y)" << int(vbYes);
        QTest::newRow("No") << yesNo << "いいえ(&N)" << int(vbNo);
        QTest::newRow("Enter is Yes") << yesNo << "Enter" << int(vbYes);
        QTest::newRow("Escape is No") << yesNo << "Escape" << int(vbNo);
        QTest::newRow("close box is No") << yesNo << "close" << int(vbNo);
        QTest::newRow("OK") << int(vbInformation) << "OK" << int(vbOK);
        QTest::newRow("Escape is OK") << int(vbInformation) << "Escape" << int(vbOK);
    }
    void answers()
    {
        QFETCH(int, style);
        QFETCH(QString, how);
        QFETCH(int, answer);
        const int given = Answer(style, [how](QMessageBox& box) {
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

    // ------------------------------------------------------------ input box
    void inputBox_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK") << true << "50";
        QTest::newRow("キャンセル") << false << "";
    }
    void inputBox()
    {
        QFETCH(bool, accept);
        QFETCH(QString, answer);
        QStringList buttons;
        WhenShown<QInputDialog>([&](QInputDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("確率変動"));
            QCOMPARE(dialog.labelText(), QStringLiteral("一行目\n二行目"));
            QCOMPARE(dialog.textValue(), QStringLiteral("300"));
            buttons << dialog.okButtonText() << dialog.cancelButtonText();
            dialog.setTextValue(QStringLiteral("50"));
            accept ? dialog.accept() : dialog.reject();
        });
        ui::DialogPrompter prompter;
        QCOMPARE(prompter.inputBox(QStringLiteral("一行目\r\n二行目"), QStringLiteral("確率変動"), QStringLiteral("300")),
                 answer);
        QCOMPARE(buttons, QStringList({"OK", "キャンセル"}));
    }

    // ------------------------------------------------------------ target symbol
    void targetChoice_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("symbol");
        QTest::newRow("symbol 1") << "1" << 1;
        QTest::newRow("symbol 9") << "9" << 9;
        QTest::newRow("none") << "none" << 0;
        QTest::newRow("Escape") << "Escape" << 0;
        QTest::newRow("close box") << "close" << 0;
    }
    void targetChoice()
    {
        QFETCH(QString, how);
        QFETCH(int, symbol);
        testing::Seams seams;
        seams.host.dir = QStringLiteral(ZELMOR_ASSET_DIR);
        QWidget owner;
        owner.setGeometry(100, 100, 494, 285);
        WhenShown<ui::TargetDialog>([&](ui::TargetDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("狙い出目の選択　　　選択すると１００＄支払います。"));
            QCOMPARE(dialog.parentWidget(), &owner);
            QVERIFY(dialog.symbols[2].picture().endsWith(QStringLiteral("/R03.BMP")));
            QCOMPARE(dialog.noneButton->text(), QStringLiteral("選択しない"));
            if (how == QStringLiteral("none"))
                dialog.noneButton->click();
            else if (how == QStringLiteral("Escape"))
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (how == QStringLiteral("close"))
                dialog.close();
            else
                dialog.symbols[how.toInt() - 1].click();
        });
        ui::DialogPrompter prompter;
        prompter.setOwner(&owner);
        QCOMPARE(prompter.chooseTarget(), symbol);
    }

    // ------------------------------------------------------------ battle of wits
    void witsWelcome_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("confirmation"); // the answer to the disclaimer
        QTest::addColumn<seams::WitsChoice>("choice");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("promise") << "promise" << 0 << WitsChoice::Promise << QStringList{Promise};
        QTest::newRow("challenge, Yes") << "challenge" << int(vbYes) << WitsChoice::Challenge
                                        << QStringList{Disclaimer};
        QTest::newRow("challenge, No") << "challenge" << int(vbNo) << WitsChoice::Promise
                                       << QStringList{Disclaimer, Promise};
        QTest::newRow("close box") << "close" << 0 << WitsChoice::Closed << QStringList{};
        QTest::newRow("Escape") << "Escape" << 0 << WitsChoice::Closed << QStringList{};
    }
    void witsWelcome()
    {
        QFETCH(QString, button);
        QFETCH(int, confirmation);
        QFETCH(seams::WitsChoice, choice);
        QFETCH(QStringList, messages);
        testing::Seams seams;
        seams.host.dir = QStringLiteral(ZELMOR_ASSET_DIR);
        if (confirmation)
            seams.prompts.answers.push_back(confirmation);
        WhenShown<ui::WitsWelcomeDialog>([&](ui::WitsWelcomeDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("ゼルモア　知恵くらべにようこそ"));
            QVERIFY(dialog.picture.hasPicture());
            if (button == QStringLiteral("promise"))
                dialog.promiseButton->click();
            else if (button == QStringLiteral("challenge"))
                dialog.challengeButton->click();
            else if (button == QStringLiteral("Escape"))
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
        });
        ui::DialogPrompter prompter;
        QCOMPARE(prompter.witsWelcome(), choice);
        QCOMPARE(seams.prompts.texts(), messages);
        if (!messages.isEmpty()) {
            QCOMPARE(seams.prompts.messages.front().style,
                     button == QStringLiteral("promise") ? int(vbInformation) : int(vbExclamation | vbYesNo));
            QCOMPARE(seams.prompts.messages.front().title, button == QStringLiteral("promise")
                                                               ? QStringLiteral("ゼルモア")
                                                               : QStringLiteral("ゼルモア　ご確認"));
        }
    }

    void witsFailure_data()
    {
        QTest::addColumn<double>("failures");
        QTest::addColumn<int>("hints");
        QTest::addColumn<bool>("consolation");
        QTest::newRow("1") << 1.0 << 1 << false;
        QTest::newRow("4") << 4.0 << 1 << false;
        QTest::newRow("5") << 5.0 << 2 << false;
        QTest::newRow("9") << 9.0 << 3 << false;
        QTest::newRow("10") << 10.0 << 3 << true;
        QTest::newRow("a fraction of a failure below 5") << 4.75 << 1 << false;
        QTest::newRow("far beyond int") << 1e20 << 3 << true;
    }
    void witsFailure()
    {
        QFETCH(double, failures);
        QFETCH(int, hints);
        QFETCH(bool, consolation);
        testing::Seams seams;
        ui::WitsFailureDialog dialog(failures);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ゼルモア　知恵くらべ"));
        QCOMPARE(dialog.countLabel.caption(), rt::DecimalText(failures));
        int shown = 0;
        for (const ui::Label& hint : dialog.hints)
            shown += hint.visible() ? 1 : 0;
        QCOMPARE(shown, hints);
        QCOMPARE(dialog.messageLabel.caption() == QStringLiteral("あなたは　残念賞　と認定されました。"), consolation);
        // Only the close box closes it.
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
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
        QCOMPARE(QStringList({dialog.musicHeading.caption(), dialog.effectsHeading.caption(), dialog.okButton->text(),
                              dialog.cancelButton->text()}),
                 QStringList({"音楽", "効果音", "OK", "キャンセル"}));
        QCOMPARE(QStringList({dialog.musicValue.caption(), dialog.effectsValue.caption()}), QStringList({"70%", "35%"}));
        QList<std::pair<int, int>> reported;
        connect(&dialog, &ui::VolumeDialog::volumesChanged, [&](int music, int effects) {
            reported.append({music, effects});
        });
        dialog.show();
        QTest::keyClick(dialog.musicSlider, Qt::Key_End);
        QTest::keyClick(dialog.effectsSlider, Qt::Key_Left);
        QCOMPARE(QStringList({dialog.musicValue.caption(), dialog.effectsValue.caption()}), QStringList({"100%", "34%"}));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(reported, (QList<std::pair<int, int>>{{100, 35}, {100, 34}, {70, 34}, {70, 35}}));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestMessageBox)
#include "test_messagebox.moc"
