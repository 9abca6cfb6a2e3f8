// SPDX-License-Identifier: MIT
// Every text of the main window, in the language the game speaks: the title,
// the headings, the tips and the menus. They are set when the window is
// made and again at each change of language.
#include "ui/MainWindow.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

namespace ui {

namespace {

// The cover's tips, A to D.
constexpr const char* CoverTips[4] = {
    QT_TRANSLATE_NOOP("ui::MainWindow", "当たるかな？"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "次はどうかな？"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "いいかも！？"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "ん～"),
};

// The view menu's sizes (ui::Zooms) and paces (ui::Paces).
constexpr const char* ZoomTexts[4] = {
    QT_TRANSLATE_NOOP("ui::MainWindow", "標準の大きさ(&1)"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "1.5倍(&5)"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "2倍(&2)"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "3倍(&3)"),
};
constexpr const char* PaceTexts[3] = {
    QT_TRANSLATE_NOOP("ui::MainWindow", "標準の速さ(&1)"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "2倍速(&2)"),
    QT_TRANSLATE_NOOP("ui::MainWindow", "4倍速(&4)"),
};

} // namespace

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    if (event->type() == QEvent::WindowStateChange)
        fullScreenItem->setChecked(isFullScreen());
    QMainWindow::changeEvent(event);
}

void MainWindow::retranslate()
{
    setWindowTitle(tr("ゼルモア"));
    nameControls();
    nameMenus();
    showAutoPlay();
    // Last: the screen reader's names take the headings as they now read.
    nameControlsForScreenReaders();
}

void MainWindow::nameControls()
{
    coverPriceLabel->setText(tr("10$"));
    winHeading->setText(tr("獲得＄"));
    moneyHeading->setText(tr("持ち金（＄）"));
    targetHeading->setText(tr("狙い出目"));
    for (std::size_t i = 0; i < covers.size(); ++i)
        covers[i]->setToolTip(tr(CoverTips[i]));
    showKeysInTips();
}

void MainWindow::nameMenus()
{
    fileMenu->setTitle(tr("ファイル(&F)"));
    borrow100Item->setText(tr("お願い100$借して(&1)"));
    borrow1000Item->setText(tr("お願い1000$借して(&2)"));
    noSoundItem->setText(tr("音はいらない(&S)"));
    volumeItem->setText(tr("音量(&V)…"));
    probabilityItem->setText(tr("確率変動(&K)"));
    quitItem->setText(tr("ゼルモアの終了(&Q)"));
    viewMenu->setTitle(tr("表示(&V)"));
    for (std::size_t i = 0; i < zoomItems.size(); ++i)
        zoomItems[i]->setText(tr(ZoomTexts[i]));
    fullScreenItem->setText(tr("全画面表示(&U)"));
    paceMenu->setTitle(tr("高速(&S)"));
    for (std::size_t i = 0; i < paceItems.size(); ++i)
        paceItems[i]->setText(tr(PaceTexts[i]));
    autoPlayItem->setText(tr("オートプレイ(&A)…"));
    calmLampsItem->setText(tr("点滅を控える(&F)"));
    dataCounterItem->setText(tr("データカウンター(&D)"));
    languageMenu->setTitle(tr("言語(&L)"));
    // Each language is named in its own words, so that a player who can't
    // read the other one still finds their own.
    languageItems[0]->setText(QStringLiteral("日本語(&J)"));
    languageItems[1]->setText(QStringLiteral("English(&E)"));
    showLanguageChecks();
    helpMenu->setTitle(tr("ヘルプ(&H)"));
    versionItem->setText(tr("バージョン情報(&V)"));
    helpItem->setText(tr("ヘルプ(&M)"));
}

void MainWindow::showLanguageChecks()
{
    languageItems[0]->setChecked(CurrentLanguage() == Language::Japanese);
    languageItems[1]->setChecked(CurrentLanguage() == Language::English);
}

} // namespace ui
