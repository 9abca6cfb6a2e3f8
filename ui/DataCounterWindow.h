// SPDX-License-Identifier: MIT
// The data counter: what a hall's counter shows beside its machine (spins,
// jackpots, dry runs and money, for this session, today and all time, each
// with what the machine promised) and the slump graph. A window of its own,
// kept open beside the game while playing; whoever owns it refreshes it
// after every spin and does the exporting and clearing it asks for.
#pragma once

#include "game/PlayTally.h"

#include <QWidget>

#include <map>
#include <optional>
#include <vector>

class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;

namespace ui {

class LampNumber;
class RowHeading;
class SlumpGraph;
struct GraphLine;

class DataCounterWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own above `owner`; closing it only hides it.
    explicit DataCounterWindow(QWidget* owner = nullptr);
    ~DataCounterWindow() override;

    // Shows the counter's figures, its lines and the probability, 6 in
    // `denominator`. Cheap enough to call after every spin: the lines'
    // vectors are implicitly shared, and the line selector is rebuilt only
    // when a day comes or goes. A ticked day whose line the counter has not
    // read yet is asked for (lineWanted) and drawn once shown again.
    void showCounter(const game::DataCounter& counter, double denominator);

    // Sizes follow the main window's zoom (1, 1.5, 2 or 3).
    double zoom() const { return zoom_; }
    void setZoom(double zoom);

    SlumpGraph* slumpGraph = nullptr;
    QListWidget* lineSelector = nullptr; // 今回, 今日 and each earlier day, checkable
    QPushButton* exportButton = nullptr;
    QPushButton* clearButton = nullptr;
    QPushButton* closeButton = nullptr;

signals:
    // "CSVに書き出す…": the owner asks where and writes the file.
    void exportRequested();
    // "履歴を消去…": the owner asks for confirmation and clears the history.
    void clearRequested();
    // A ticked day's line is wanted: the owner reads it into the counter and
    // shows the counter again.
    void lineWanted(QDate day);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Cell {
        int figure = 0; // its row of the figures' table
        LampNumber* lamps = nullptr;
        QLabel* expected = nullptr; // none for figures without a promise
    };

    QWidget* buildBoard(const char* role, bool money);
    void addFigureRow(QGridLayout& grid, int row, int figureIndex);
    QWidget* buildGraphRow();
    QLayout* buildButtons();
    void retranslate();
    void showFigures();
    void showLineChoices();
    void showLines();
    void applyZoom();

    double zoom_ = 1.0;
    std::vector<std::vector<Cell>> cells_; // by column, then figure
    std::vector<RowHeading*> rowHeadings_; // by figure
    std::vector<QLabel*> columnHeadings_;
    QLabel* probabilityLabel_ = nullptr;
    QLabel* selectorHeading_ = nullptr;

    // The counter as last shown, kept for the line selector's changes and
    // for a change of language: each column's figures, the probability's
    // denominator and the lines.
    std::vector<game::PlayTally> tallies_;
    std::optional<double> denominator_;
    QDate today_;
    game::SlumpLine sessionLine_;
    std::map<QDate, game::DataCounter::Day> days_;
};

} // namespace ui
