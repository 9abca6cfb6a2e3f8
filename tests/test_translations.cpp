// SPDX-License-Identifier: MIT
// The game in English: every text of the translation file is translated,
// every text of every window fits its control in English as in Japanese at
// each zoom the window has, and the data counter, which stays open, takes
// the new language at once.
#include "game/StartUp.h"
#include "tests/support/Rig.h"
#include "ui/AboutDialog.h"
#include "ui/AutoPlayDialog.h"
#include "ui/CounterLamps.h"
#include "ui/DataCounterWindow.h"
#include "ui/Fonts.h"
#include "ui/GameStyle.h"
#include "ui/Language.h"
#include "ui/MainWindow.h"
#include "ui/Preferences.h"
#include "ui/TargetDialog.h"
#include "ui/VolumeDialog.h"
#include "ui/WitsFailureDialog.h"
#include "ui/WitsWelcomeDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

using ui::Language;

namespace {

enum class Window { Main, DataCounter, Volume, Target, About, WitsWelcome, WitsHints, WitsConsolation, AutoPlay };

} // namespace

Q_DECLARE_METATYPE(ui::Language)
Q_DECLARE_METATYPE(Window)

namespace {

// A window of the game as the player meets it, with what it needs to live.
struct Shown {
    std::unique_ptr<testing::MachineRig> rig;
    std::unique_ptr<QWidget> window;
};

Shown Make(Window kind, double zoom)
{
    Shown shown;
    switch (kind) {
    case Window::Main: {
        shown.rig = std::make_unique<testing::MachineRig>();
        auto window = std::make_unique<ui::MainWindow>(shown.rig->machine, QStringLiteral(ZELMOR_ASSET_DIR "/"));
        window->chooseZoom(zoom);
        // Auto play's lamp lit, with the most spins its dialog takes.
        game::AutoPlayLimits limits;
        limits.spins = 9999;
        window->autoPlay().start(limits);
        shown.window = std::move(window);
        break;
    }
    case Window::DataCounter: {
        auto counter = std::make_unique<ui::DataCounterWindow>();
        counter->showCounter(game::DataCounter(QDate(2026, 12, 9)), 300);
        counter->setZoom(zoom);
        counter->show();
        // At the size the window asks for: a screen too small for it is no
        // matter of its words.
        counter->resize(counter->sizeHint());
        shown.window = std::move(counter);
        break;
    }
    case Window::Volume: shown.window = std::make_unique<ui::VolumeDialog>(100, 100); break;
    case Window::AutoPlay: shown.window = std::make_unique<ui::AutoPlayDialog>(game::AutoPlayLimits{}); break;
    case Window::Target: shown.window = std::make_unique<ui::TargetDialog>(); break;
    case Window::About: shown.window = std::make_unique<ui::AboutDialog>(); break;
    case Window::WitsWelcome: shown.window = std::make_unique<ui::WitsWelcomeDialog>(); break;
    case Window::WitsHints: shown.window = std::make_unique<ui::WitsFailureDialog>(9, QStringLiteral("9")); break;
    case Window::WitsConsolation:
        shown.window = std::make_unique<ui::WitsFailureDialog>(game::ConsolationFailures, QStringLiteral("10"));
        break;
    }
    return shown;
}

// The room a button gives its caption, from the style that draws it.
QRect CaptionRoom(const QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(&button))
        contents = QStyle::SE_RadioButtonContents;
    return button.style()->subElementRect(contents, &option, &button);
}

// What a control with text needs beyond its room, "" when its text fits:
// the width of its line, or for a wrapping label the lines it lays the text
// out in, which must fit its height too.
QString Overflow(const QWidget& control)
{
    QString text;
    QRect room;
    QSize needed;
    const QFontMetrics metrics(control.font());
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty() || dynamic_cast<const ui::LampNumber*>(label))
            return {}; // lamps squeeze their figures into their places
        text = label->text();
        const int margin = label->margin();
        room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        needed = metrics.boundingRect(room, flags, text).size();
        if (!label->wordWrap())
            needed.setHeight(0);
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        text = button->text();
        room = CaptionRoom(*button);
        needed = QSize(metrics.size(Qt::TextShowMnemonic, text).width(), 0);
    } else if (const auto* group = qobject_cast<const QGroupBox*>(&control)) {
        text = group->title();
        room = group->contentsRect();
        needed = QSize(metrics.size(Qt::TextShowMnemonic, text).width(), 0);
    }
    if (text.isEmpty() || (needed.width() <= room.width() && needed.height() <= room.height()))
        return {};
    return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
        .arg(control.objectName(), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

// Every text the window shows, in order: its title, its labels' and
// buttons' and its line selector's.
QStringList Texts(const QWidget& window)
{
    QStringList texts{window.windowTitle()};
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(child))
            texts << label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(child))
            texts << button->text();
        else if (const auto* list = qobject_cast<const QListWidget*>(child))
            for (int i = 0; i < list->count(); ++i)
                texts << list->item(i)->text();
    }
    return texts;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QApplication::setStyle(new ui::GameStyle);
        ui::installFontSubstitutions();
    }
    void cleanup() { ui::SetLanguage(Language::Japanese); }

    // Every message of the translation file has its English: none is left
    // empty, unfinished or kept only for a text the sources no longer have.
    void everyTextTranslated()
    {
        QFile file(QStringLiteral(ZELMOR_TS_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QXmlStreamReader xml(&file);
        QString context, source;
        QStringList untranslated;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                // "unfinished", "obsolete" or "vanished"; none for a finished one
                QString state = xml.attributes().value(QLatin1String("type")).toString();
                if (xml.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty() && state.isEmpty())
                    state = QStringLiteral("empty");
                if (!state.isEmpty())
                    untranslated << QStringLiteral("%1: %2 [%3]").arg(context, source, state);
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
        QVERIFY2(messages >= 100, qPrintable(QStringLiteral("only %1 messages").arg(messages)));
    }

    // The desktop's first language decides: English only where it comes
    // first; anything else, the C locale's empty list included, is Japanese.
    void desktopLanguage_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<Language>("spoken");
        QTest::newRow("en-US") << QStringList{"en-US", "en-Latn-US", "en"} << Language::English;
        QTest::newRow("en, then de") << QStringList{"en", "de-DE"} << Language::English;
        QTest::newRow("en_GB") << QStringList{"en_GB"} << Language::English;
        QTest::newRow("ja-JP") << QStringList{"ja-JP", "ja"} << Language::Japanese;
        QTest::newRow("de, then en") << QStringList{"de-DE", "en-US"} << Language::Japanese;
        QTest::newRow("eng is not en") << QStringList{"eng"} << Language::Japanese;
        QTest::newRow("none") << QStringList{} << Language::Japanese;
    }

    void desktopLanguage()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(Language, spoken);
        QCOMPARE(ui::DesktopLanguage(uiLanguages), spoken);
    }

    void textsFit_data()
    {
        QTest::addColumn<Language>("language");
        QTest::addColumn<Window>("window");
        QTest::addColumn<double>("zoom");
        const struct {
            const char* name;
            Window window;
            bool zooms;
        } windows[] = {
            {"main window", Window::Main, true},
            {"data counter", Window::DataCounter, true},
            {"volume", Window::Volume, false},
            {"auto play", Window::AutoPlay, false},
            {"target symbol", Window::Target, false},
            {"version", Window::About, false},
            {"battle of wits", Window::WitsWelcome, false},
            {"failures with hints", Window::WitsHints, false},
            {"consolation prize", Window::WitsConsolation, false},
        };
        for (Language language : {Language::English, Language::Japanese})
            for (const auto& w : windows)
                for (double zoom : ui::Zooms) {
                    if (!w.zooms && zoom != 1.0)
                        continue;
                    QTest::addRow("%s, %s, %gx", language == Language::English ? "English" : "Japanese", w.name, zoom)
                        << language << w.window << zoom;
                }
    }
    void textsFit()
    {
        QFETCH(Language, language);
        QFETCH(Window, window);
        QFETCH(double, zoom);
        ui::SetLanguage(language);
        const Shown shown = Make(window, zoom);
        QStringList overflows;
        for (const QWidget* control : shown.window->findChildren<QWidget*>())
            if (control->isVisibleTo(shown.window.get()))
                if (const QString overflow = Overflow(*control); !overflow.isEmpty())
                    overflows << overflow;
        QVERIFY2(overflows.isEmpty(), qPrintable(overflows.join(QLatin1Char('\n'))));
    }

    // The counter left open while the language changes shows what a counter
    // opened in the new language shows, and back in Japanese what it showed.
    void counterTakesTheNewLanguage()
    {
        ui::DataCounterWindow open;
        game::DataCounter counter(QDate(2026, 12, 9));
        counter.setHistory({}, {{QDate(2026, 12, 7), game::PlayTally()}});
        open.showCounter(counter, 300);
        const QStringList japanese = Texts(open);
        ui::SetLanguage(Language::English);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        ui::DataCounterWindow opened;
        opened.showCounter(counter, 300);
        QCOMPARE(Texts(open), Texts(opened));
        QVERIFY(Texts(open) != japanese);
        ui::SetLanguage(Language::Japanese);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(Texts(open), japanese);
    }
};

QTEST_MAIN(TestTranslations)
#include "test_translations.moc"
