// SPDX-License-Identifier: MIT
#include "ui/DataCounterWindow.h"

#include "platform/Runtime.h"
#include "ui/CounterLamps.h"
#include "ui/Fonts.h"
#include "ui/Placement.h"
#include "ui/SlumpGraph.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <optional>

namespace ui {

// ---------------------------------------------------------------- the figures

namespace {

using game::DataCounter;
using game::PlayTally;

const QColor WindowBack(0x17, 0x1a, 0x1f);

struct Column {
    const char* heading; // to translate in the window's context
    const char* role;
    const PlayTally& (DataCounter::*tally)() const;
};

const Column Columns[] = {
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "今回"), "session", &DataCounter::session},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "今日"), "today", &DataCounter::today},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "累計"), "allTime", &DataCounter::allTime},
};

QString OneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

QString Percent(std::optional<double> rate)
{
    return rate ? OneDecimal(*rate * 100) + QLatin1Char('%') : QStringLiteral("—");
}

QString Expected(double count)
{
    return DataCounterWindow::tr("期待 %1").arg(OneDecimal(count));
}

QString ExpectedValue(const QString& value)
{
    return DataCounterWindow::tr("期待値 %1").arg(value);
}

QString Dollars(double amount)
{
    return GroupedDigits(qint64(std::llround(amount)));
}

QString SignedDollars(double amount)
{
    return SignedGroupedDigits(qint64(std::llround(amount)));
}

// One figure of the counter: its row, its lamp colour and where it comes from.
struct Figure {
    const char* heading; // to translate in the window's context
    const char* role;
    QRgb lamp;
    bool money;
    QString (*shown)(const PlayTally&);
    QString (*expected)(const PlayTally&); // null: the machine promises nothing for it
};

constexpr int CountPlaces = 5;
constexpr int MoneyPlaces = 8;
constexpr qreal CountDigitHeight = 20;
constexpr qreal MoneyDigitHeight = 15;

const Figure Figures[] = {
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "総回転数"), "Spins", 0x3cff7c, false,
     [](const PlayTally& t) { return QString::number(t.spins); }, nullptr},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "大当たり"), "Jackpots", 0xff3a34, false,
     [](const PlayTally& t) { return QString::number(t.jackpots); },
     [](const PlayTally& t) { return Expected(t.expectedJackpots); }},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "スロットチャンス揃い"), "ChanceLineUps", 0xffd23a, false,
     [](const PlayTally& t) { return QString::number(t.chanceLineUps); },
     [](const PlayTally& t) { return Expected(t.expectedChanceLineUps); }},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "現在の回転数"), "CurrentRun", 0x2ee6ff, false,
     [](const PlayTally& t) { return QString::number(t.currentRun); }, nullptr},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "最大ハマリ"), "LongestRun", 0xff8a1e, false,
     [](const PlayTally& t) { return QString::number(t.longestRun); }, nullptr},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "投入"), "PaidIn", 0xffb238, true,
     [](const PlayTally& t) { return GroupedDigits(t.paidIn); },
     [](const PlayTally& t) { return ExpectedValue(Dollars(t.expectedPaidIn)); }},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "払出"), "PaidOut", 0x9cff3c, true,
     [](const PlayTally& t) { return GroupedDigits(t.paidOut); },
     [](const PlayTally& t) { return ExpectedValue(Dollars(t.expectedPaidOut)); }},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "収支"), "Balance", 0x2ee6ff, true,
     [](const PlayTally& t) { return SignedDollars(double(t.paidOut - t.paidIn)); },
     [](const PlayTally& t) { return ExpectedValue(SignedDollars(t.expectedPaidOut - t.expectedPaidIn)); }},
    {QT_TRANSLATE_NOOP("ui::DataCounterWindow", "回収率"), "Return", 0xff5ccf, true,
     [](const PlayTally& t) { return Percent(t.returnRate()); },
     [](const PlayTally& t) { return ExpectedValue(Percent(t.expectedReturn())); }},
};

// The slump graph's lines: the session bold in the machine's cyan, today in
// orange, earlier days in muted colours, each day keeping its colour.
const QColor SessionColour(0x00, 0xff, 0xff);
const QColor TodayColour(0xff, 0x8c, 0x1a);
const QColor DayColours[] = {
    {0x8f, 0xa9, 0xd6}, {0xb9, 0x9e, 0xd9}, {0x8f, 0xc7, 0x9a}, {0xd4, 0xbf, 0x80},
    {0xd6, 0x92, 0xa8}, {0x7f, 0xc4, 0xc4}, {0xc2, 0xae, 0x9c},
};
const QString SessionKey = QStringLiteral("session");
const QString TodayKey = QStringLiteral("today");

QColor DayColour(QDate day)
{
    return DayColours[day.toJulianDay() % std::size(DayColours)];
}

// "12/07 (月)" within the current year, "2025-12-07" before it.
QString DayLabel(QDate day, QDate today)
{
    static const char* const Weekdays[][2] = {
        QT_TRANSLATE_NOOP3("ui::DataCounterWindow", "月", "Monday"),
        QT_TRANSLATE_NOOP3("ui::DataCounterWindow", "火", "Tuesday"),
        QT_TRANSLATE_NOOP3("ui::DataCounterWindow", "水", "Wednesday"),
        QT_TRANSLATE_NOOP3("ui::DataCounterWindow", "木", "Thursday"),
        QT_TRANSLATE_NOOP3("ui::DataCounterWindow", "金", "Friday"),
        QT_TRANSLATE_NOOP3("ui::DataCounterWindow", "土", "Saturday"),
        QT_TRANSLATE_NOOP3("ui::DataCounterWindow", "日", "Sunday"),
    };
    if (day.year() != today.year())
        return day.toString(Qt::ISODate);
    const auto& weekday = Weekdays[day.dayOfWeek() - 1];
    return day.toString(QStringLiteral("MM/dd")) + QStringLiteral(" (") + DataCounterWindow::tr(weekday[0], weekday[1])
           + QLatin1Char(')');
}

// A short stroke of the line's colour, as the graph's legend shows it.
QIcon Swatch(const QColor& colour)
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 10, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 24), QPointF(41, 24));
    return QIcon(pixmap);
}

// The window's look at a zoom: dark boards and controls, sizes scaled.
QString WindowStyle(double zoom)
{
    auto z = [zoom](double pixels) { return QString::number(std::max(1, qRound(pixels * zoom))); };
    return QStringLiteral(
               "QLabel { color: #dfe5ec; }"
               "QFrame#countsBoard, QFrame#moneyBoard {"
               " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #12161c, stop:1 #080a0d);"
               " border: 1px solid #323a45; border-radius: %1px; }"
               "QLabel[look=\"columnHeading\"] { color: #aeb8c4; background: #1b2129;"
               " border-radius: %2px; padding: %2px 0; }"
               "QLabel[look=\"expected\"] { color: #6f7b88; }"
               "QLabel#probabilityLabel { color: #2ee6ff; padding: %2px %1px; }"
               "QLabel#selectorHeading { color: #aeb8c4; }"
               "QListWidget { background: #07090c; color: #d4dae2; border: 1px solid #323a45;"
               " border-radius: %2px; padding: %2px; outline: none; }"
               "QListWidget::item { padding: %2px; border-radius: %2px; }"
               "QListWidget::item:selected { background: #1b2834; color: #ffffff; }"
               "QListWidget::indicator { width: %5px; height: %5px; border-radius: %6px;"
               " border: 1px solid #56606d; background: #0b0e12; }"
               "QListWidget::indicator:checked { border-color: #bfefff;"
               " background: qradialgradient(cx:0.4, cy:0.4, radius:0.6, fx:0.35, fy:0.35,"
               " stop:0 #ffffff, stop:0.5 #7fe9ff, stop:1 #14a9c9); }"
               "QPushButton { color: #e8ecf1; border: 1px solid #4b5461; border-radius: %2px;"
               " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3b424d, stop:1 #262b33);"
               " padding: %2px %3px; min-height: %4px; }"
               "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #46505c,"
               " stop:1 #2d333c); }"
               "QPushButton:pressed { background: #1c2026; }"
               "QPushButton:focus { border-color: #2ee6ff; }")
        .arg(z(6), z(3), z(14), z(18), z(11), z(5.5));
}

QPalette DarkPalette(QPalette palette)
{
    palette.setColor(QPalette::Window, WindowBack);
    palette.setColor(QPalette::WindowText, QColor(0xdf, 0xe5, 0xec));
    palette.setColor(QPalette::Base, QColor(0x07, 0x09, 0x0c));
    palette.setColor(QPalette::Text, QColor(0xd4, 0xda, 0xe2));
    palette.setColor(QPalette::Button, QColor(0x2c, 0x32, 0x3a));
    palette.setColor(QPalette::ButtonText, QColor(0xe8, 0xec, 0xf1));
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x9c, 0xb8));
    return palette;
}

QFont ScaledFont(double points, bool bold, double zoom)
{
    QFont font = GameFont();
    font.setPointSizeF(points * zoom);
    font.setBold(bold);
    return font;
}

} // namespace

// ---------------------------------------------------------------- the window

DataCounterWindow::DataCounterWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("dataCounterWindow"));
    if (owner)
        setWindowIcon(owner->windowIcon());
    setPalette(DarkPalette(palette()));
    setAutoFillBackground(true);

    cells_.resize(std::size(Columns));
    tallies_.resize(std::size(Columns));
    rowHeadings_.resize(std::size(Figures));
    auto* root = new QVBoxLayout(this);
    auto* boards = new QHBoxLayout;
    boards->addWidget(buildBoard("countsBoard", false), 5);
    boards->addWidget(buildBoard("moneyBoard", true), 4);
    root->addLayout(boards);
    root->addWidget(buildGraphRow(), 1);
    root->addLayout(buildButtons());
    applyZoom();
    retranslate();
}

DataCounterWindow::~DataCounterWindow() = default;

// A board of lamps: the column headings, then a row per figure with its
// heading, and in each column the figure over its expected value.
QWidget* DataCounterWindow::buildBoard(const char* role, bool money)
{
    auto* board = new QFrame(this);
    board->setObjectName(QLatin1String(role));
    auto* grid = new QGridLayout(board);
    for (std::size_t c = 0; c < std::size(Columns); ++c) {
        auto* heading = new QLabel(board);
        heading->setProperty("look", QStringLiteral("columnHeading"));
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, int(c) + 1);
        grid->setColumnStretch(int(c) + 1, 1);
        columnHeadings_.push_back(heading);
    }
    int row = 1;
    for (const Figure& figure : Figures)
        if (figure.money == money)
            addFigureRow(*grid, row++, int(&figure - Figures));
    grid->setRowStretch(row, 1);
    if (money) {
        probabilityLabel_ = new QLabel(board);
        probabilityLabel_->setObjectName(QStringLiteral("probabilityLabel"));
        grid->addWidget(probabilityLabel_, row + 1, 0, 1, -1, Qt::AlignRight | Qt::AlignBottom);
    }
    return board;
}

// A figure's row: its heading, then in each column its lamps over what the
// machine promised for it.
void DataCounterWindow::addFigureRow(QGridLayout& grid, int row, int figureIndex)
{
    const Figure& figure = Figures[figureIndex];
    QWidget* board = grid.parentWidget();
    auto* heading = new RowHeading(QColor(figure.lamp), board);
    grid.addWidget(heading, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    rowHeadings_[figureIndex] = heading;
    for (std::size_t c = 0; c < std::size(Columns); ++c) {
        const QString name = QLatin1String(Columns[c].role) + QLatin1String(figure.role);
        auto* stack = new QVBoxLayout;
        stack->setSpacing(0);
        Cell cell;
        cell.figure = figureIndex;
        cell.lamps = new LampNumber(QColor(figure.lamp), figure.money ? MoneyPlaces : CountPlaces, board);
        cell.lamps->setObjectName(name + QStringLiteral("Label"));
        stack->addWidget(cell.lamps);
        if (figure.expected) {
            cell.expected = new QLabel(board);
            cell.expected->setObjectName(name + QStringLiteral("ExpectedLabel"));
            cell.expected->setProperty("look", QStringLiteral("expected"));
            cell.expected->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            stack->addWidget(cell.expected);
        }
        grid.addLayout(stack, row, int(c) + 1);
        cells_[c].push_back(cell);
    }
}

// The slump graph with the choice of its lines at its right.
QWidget* DataCounterWindow::buildGraphRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    slumpGraph = new SlumpGraph(row);
    layout->addWidget(slumpGraph, 1);
    auto* choice = new QVBoxLayout;
    selectorHeading_ = new QLabel(row);
    selectorHeading_->setObjectName(QStringLiteral("selectorHeading"));
    choice->addWidget(selectorHeading_);
    lineSelector = new QListWidget(row);
    lineSelector->setObjectName(QStringLiteral("lineSelector"));
    choice->addWidget(lineSelector, 1);
    layout->addLayout(choice);
    connect(lineSelector, &QListWidget::itemChanged, this, &DataCounterWindow::showLines);
    return row;
}

QLayout* DataCounterWindow::buildButtons()
{
    auto* row = new QHBoxLayout;
    exportButton = new QPushButton(this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    connect(exportButton, &QPushButton::clicked, this, &DataCounterWindow::exportRequested);
    clearButton = new QPushButton(this);
    clearButton->setObjectName(QStringLiteral("clearButton"));
    connect(clearButton, &QPushButton::clicked, this, &DataCounterWindow::clearRequested);
    closeButton = new QPushButton(this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    row->addWidget(exportButton);
    row->addWidget(clearButton);
    row->addStretch(1);
    row->addWidget(closeButton);
    return row;
}

// ---------------------------------------------------------------- showing the counter

namespace {

void ShowText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace

void DataCounterWindow::showCounter(const DataCounter& counter, double denominator)
{
    for (std::size_t c = 0; c < std::size(Columns); ++c)
        tallies_[c] = (counter.*Columns[c].tally)();
    denominator_ = denominator;
    today_ = counter.todayDate();
    sessionLine_ = counter.sessionLine();
    days_ = counter.days();
    showFigures();
    showLineChoices();
    showLines();
}

// The figures of the counter last shown, all nought before the first; the
// probability once the counter has one.
void DataCounterWindow::showFigures()
{
    for (std::size_t c = 0; c < std::size(Columns); ++c) {
        for (const Cell& cell : cells_[c]) {
            const Figure& figure = Figures[cell.figure];
            ShowText(cell.lamps, figure.shown(tallies_[c]));
            if (cell.expected)
                ShowText(cell.expected, figure.expected(tallies_[c]));
        }
    }
    if (denominator_)
        ShowText(probabilityLabel_, tr("確率 6/%1").arg(rt::DecimalText(*denominator_)));
}

// Every text of the window in the current language: at its making and at
// each change of language, while the window stays open.
void DataCounterWindow::retranslate()
{
    setWindowTitle(tr("データカウンター"));
    for (std::size_t i = 0; i < columnHeadings_.size(); ++i)
        columnHeadings_[i]->setText(tr(Columns[i % std::size(Columns)].heading));
    for (std::size_t f = 0; f < rowHeadings_.size(); ++f)
        rowHeadings_[f]->setText(tr(Figures[f].heading));
    selectorHeading_->setText(tr("グラフに描く線"));
    exportButton->setText(tr("CSVに書き出す…"));
    clearButton->setText(tr("履歴を消去…"));
    closeButton->setText(tr("閉じる"));
    showFigures();
    showLineChoices();
    showLines();
}

void DataCounterWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

// The selector offers this session, today and every earlier day, newest
// first. The player's ticks stay as they are while the days stay the same;
// a new line comes ticked for the session and today, unticked for a day.
void DataCounterWindow::showLineChoices()
{
    struct Choice {
        QString key, label;
        QColor colour;
    };
    std::vector<Choice> choices{{SessionKey, tr("今回"), SessionColour}, {TodayKey, tr("今日"), TodayColour}};
    for (auto day = days_.crbegin(); day != days_.crend(); ++day)
        if (day->first != today_)
            choices.push_back({day->first.toString(Qt::ISODate), DayLabel(day->first, today_), DayColour(day->first)});

    bool same = lineSelector->count() == int(choices.size());
    for (int i = 0; same && i < lineSelector->count(); ++i) {
        const QListWidgetItem* item = lineSelector->item(i);
        same = item->data(Qt::UserRole).toString() == choices[i].key && item->text() == choices[i].label;
    }
    if (same)
        return;
    std::map<QString, bool> ticked;
    for (int i = 0; i < lineSelector->count(); ++i) {
        const QListWidgetItem* item = lineSelector->item(i);
        ticked[item->data(Qt::UserRole).toString()] = item->checkState() == Qt::Checked;
    }
    const QSignalBlocker quiet(lineSelector);
    lineSelector->clear();
    for (const Choice& choice : choices) {
        auto* item = new QListWidgetItem(Swatch(choice.colour), choice.label, lineSelector);
        item->setData(Qt::UserRole, choice.key);
        item->setData(Qt::UserRole + 1, choice.colour);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        const auto known = ticked.find(choice.key);
        const bool tick = known != ticked.end() ? known->second : choice.key == SessionKey || choice.key == TodayKey;
        item->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
    }
}

// The ticked lines to the graph, the oldest day at the bottom and the
// session on top. The days whose lines are still to be read are asked for
// once the graph has the others, since the answer shows the counter again.
void DataCounterWindow::showLines()
{
    QVector<GraphLine> lines;
    QVector<QDate> wanted;
    for (int i = lineSelector->count() - 1; i >= 0; --i) {
        const QListWidgetItem* item = lineSelector->item(i);
        if (item->checkState() != Qt::Checked)
            continue;
        const QString key = item->data(Qt::UserRole).toString();
        const game::SlumpLine* line = &sessionLine_;
        if (key != SessionKey) {
            const QDate date = key == TodayKey ? today_ : QDate::fromString(key, Qt::ISODate);
            const auto day = days_.find(date);
            if (day == days_.end())
                continue;
            if (!day->second.line) {
                wanted << date;
                continue;
            }
            line = &*day->second.line;
        }
        lines.push_back({item->text(), item->data(Qt::UserRole + 1).value<QColor>(), key == SessionKey,
                         line->spins(), line->points, line->marks});
    }
    slumpGraph->setLines(std::move(lines));
    for (QDate day : wanted)
        emit lineWanted(day);
}

// ---------------------------------------------------------------- zoom and keys

void DataCounterWindow::setZoom(double zoom)
{
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    applyZoom();
    // The window takes the size its contents need, inside the screen. The
    // layouts forget the sizes they hold now: left to their events, they
    // would learn the new ones only once the window shows.
    for (QLayout* layout : findChildren<QLayout*>())
        layout->invalidate();
    for (QWidget* child : findChildren<QWidget*>())
        child->updateGeometry();
    layout()->activate(); // the window's least size follows at once
    QSize size = sizeHint();
    if (const QScreen* shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() - WindowFrame(*this));
    resize(size);
}

void DataCounterWindow::applyZoom()
{
    const double z = zoom_;
    auto px = [z](double pixels) { return qRound(pixels * z); };
    setFont(ScaledFont(9, false, z));
    setStyleSheet(WindowStyle(z));
    for (RowHeading* heading : rowHeadings_) {
        heading->setFont(ScaledFont(9, true, z));
        heading->setZoom(z);
    }
    for (QLabel* heading : columnHeadings_)
        heading->setFont(ScaledFont(9, true, z));
    for (const std::vector<Cell>& column : cells_) {
        for (const Cell& cell : column) {
            cell.lamps->setDigitHeight((Figures[cell.figure].money ? MoneyDigitHeight : CountDigitHeight) * z);
            if (cell.expected)
                cell.expected->setFont(ScaledFont(8, false, z));
        }
    }
    probabilityLabel_->setFont(ScaledFont(10, true, z));
    selectorHeading_->setFont(ScaledFont(9, true, z));
    // Controls styled by the style sheet do not take the window's font.
    for (QWidget* control : {static_cast<QWidget*>(lineSelector), static_cast<QWidget*>(exportButton),
                             static_cast<QWidget*>(clearButton), static_cast<QWidget*>(closeButton)})
        control->setFont(ScaledFont(9, false, z));
    slumpGraph->setZoom(z);
    lineSelector->setIconSize(QSize(px(12), px(12)));
    lineSelector->setFixedWidth(px(124));
    layout()->setContentsMargins(px(10), px(10), px(10), px(10));
    layout()->setSpacing(px(8));
    for (QGridLayout* grid : findChildren<QGridLayout*>()) {
        grid->setContentsMargins(px(10), px(8), px(10), px(8));
        grid->setHorizontalSpacing(px(8));
        grid->setVerticalSpacing(px(5));
    }
}

// Escape closes the window, wherever the focus is in it.
void DataCounterWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace ui
