// SPDX-License-Identifier: MIT
#include "ui/DataCounterWindow.h"

#include "platform/Runtime.h"
#include "ui/CounterLamps.h"
#include "ui/Fonts.h"
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
    const char16_t* heading;
    const char* role;
    const PlayTally& (DataCounter::*tally)() const;
};

const Column Columns[] = {
    {u"今回", "session", &DataCounter::session},
    {u"今日", "today", &DataCounter::today},
    {u"累計", "allTime", &DataCounter::allTime},
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
    return QStringLiteral("期待 ") + OneDecimal(count);
}

QString ExpectedValue(const QString& value)
{
    return QStringLiteral("期待値 ") + value;
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
    const char16_t* heading;
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
    {u"総回転数", "Spins", 0x3cff7c, false, [](const PlayTally& t) { return QString::number(t.spins); }, nullptr},
    {u"大当たり", "Jackpots", 0xff3a34, false, [](const PlayTally& t) { return QString::number(t.jackpots); },
     [](const PlayTally& t) { return Expected(t.expectedJackpots); }},
    {u"スロットチャンス揃い", "ChanceLineUps", 0xffd23a, false,
     [](const PlayTally& t) { return QString::number(t.chanceLineUps); },
     [](const PlayTally& t) { return Expected(t.expectedChanceLineUps); }},
    {u"現在の回転数", "CurrentRun", 0x2ee6ff, false,
     [](const PlayTally& t) { return QString::number(t.currentRun); }, nullptr},
    {u"最大ハマリ", "LongestRun", 0xff8a1e, false,
     [](const PlayTally& t) { return QString::number(t.longestRun); }, nullptr},
    {u"投入", "PaidIn", 0xffb238, true, [](const PlayTally& t) { return GroupedDigits(t.paidIn); },
     [](const PlayTally& t) { return ExpectedValue(Dollars(t.expectedPaidIn)); }},
    {u"払出", "PaidOut", 0x9cff3c, true, [](const PlayTally& t) { return GroupedDigits(t.paidOut); },
     [](const PlayTally& t) { return ExpectedValue(Dollars(t.expectedPaidOut)); }},
    {u"収支", "Balance", 0x2ee6ff, true,
     [](const PlayTally& t) { return SignedDollars(double(t.paidOut - t.paidIn)); },
     [](const PlayTally& t) { return ExpectedValue(SignedDollars(t.expectedPaidOut - t.expectedPaidIn)); }},
    {u"回収率", "Return", 0xff5ccf, true, [](const PlayTally& t) { return Percent(t.returnRate()); },
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
    static const char16_t Weekdays[] = u"月火水木金土日";
    if (day.year() != today.year())
        return day.toString(Qt::ISODate);
    return day.toString(QStringLiteral("MM/dd")) + QStringLiteral(" (") + QChar(Weekdays[day.dayOfWeek() - 1])
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
    setWindowTitle(QStringLiteral("データカウンター"));
    if (owner)
        setWindowIcon(owner->windowIcon());
    setPalette(DarkPalette(palette()));
    setAutoFillBackground(true);

    cells_.resize(std::size(Columns));
    auto* root = new QVBoxLayout(this);
    auto* boards = new QHBoxLayout;
    boards->addWidget(buildBoard("countsBoard", false), 5);
    boards->addWidget(buildBoard("moneyBoard", true), 4);
    root->addLayout(boards);
    root->addWidget(buildGraphRow(), 1);
    root->addLayout(buildButtons());
    applyZoom();
    showLineChoices();
    showLines();
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
        auto* heading = new QLabel(QString::fromUtf16(Columns[c].heading), board);
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
    auto* heading = new RowHeading(QString::fromUtf16(figure.heading), QColor(figure.lamp), board);
    grid.addWidget(heading, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    rowHeadings_.push_back(heading);
    for (std::size_t c = 0; c < std::size(Columns); ++c) {
        const QString name = QLatin1String(Columns[c].role) + QLatin1String(figure.role);
        auto* stack = new QVBoxLayout;
        stack->setSpacing(0);
        Cell cell;
        cell.figure = figureIndex;
        cell.lamps = new LampNumber(QColor(figure.lamp), figure.money ? MoneyPlaces : CountPlaces, board);
        cell.lamps->setObjectName(name + QStringLiteral("Label"));
        cell.lamps->setText(figure.shown(PlayTally()));
        stack->addWidget(cell.lamps);
        if (figure.expected) {
            cell.expected = new QLabel(figure.expected(PlayTally()), board);
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
    selectorHeading_ = new QLabel(QStringLiteral("グラフに描く線"), row);
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
    exportButton = new QPushButton(QStringLiteral("CSVに書き出す…"), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    connect(exportButton, &QPushButton::clicked, this, &DataCounterWindow::exportRequested);
    clearButton = new QPushButton(QStringLiteral("履歴を消去…"), this);
    clearButton->setObjectName(QStringLiteral("clearButton"));
    connect(clearButton, &QPushButton::clicked, this, &DataCounterWindow::clearRequested);
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
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
    for (std::size_t c = 0; c < std::size(Columns); ++c) {
        const PlayTally& tally = (counter.*Columns[c].tally)();
        for (const Cell& cell : cells_[c]) {
            const Figure& figure = Figures[cell.figure];
            ShowText(cell.lamps, figure.shown(tally));
            if (cell.expected)
                ShowText(cell.expected, figure.expected(tally));
        }
    }
    ShowText(probabilityLabel_, QStringLiteral("確率 6/") + rt::DecimalText(denominator));
    today_ = counter.todayDate();
    sessionLine_ = counter.sessionLine();
    days_ = counter.days();
    showLineChoices();
    showLines();
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
    std::vector<Choice> choices{{SessionKey, QStringLiteral("今回"), SessionColour},
                                {TodayKey, QStringLiteral("今日"), TodayColour}};
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
