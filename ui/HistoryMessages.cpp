// SPDX-License-Identifier: MIT
#include "ui/HistoryMessages.h"

#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>

namespace ui {

namespace {

// Each text in the language of the moment the box is made.
QString Title()
{
    return QCoreApplication::translate("ui::HistoryMessages", "ゼルモア");
}

Message Warning(const QString& text)
{
    return {Title(), text, QMessageBox::Warning, Buttons::Ok};
}

} // namespace

Message HistoryMessage(HistoryNews news, const QString& detail)
{
    switch (news) {
    case HistoryNews::Unusable:
        return Warning(QCoreApplication::translate("ui::HistoryMessages",
                                                   "プレイ履歴（history.sqlite）を使えません。\r\n"
                                                   "履歴は記録されませんが、ゲームはこのまま続けられます。\r\n"
                                                   "保存ファイルには影響ありません。\r\n\r\n")
                       + detail);
    case HistoryNews::CannotExport:
        return Warning(
            QCoreApplication::translate("ui::HistoryMessages", "プレイ履歴ファイルが使えないため、書き出せません。"));
    case HistoryNews::Exported:
        return {Title(), QCoreApplication::translate("ui::HistoryMessages", "プレイ履歴を書き出しました。\r\n") + detail,
                QMessageBox::Information, Buttons::Ok};
    case HistoryNews::ExportFailed:
        return Warning(QCoreApplication::translate("ui::HistoryMessages", "プレイ履歴を書き出せませんでした。\r\n")
                       + detail);
    case HistoryNews::CannotClear:
        return Warning(
            QCoreApplication::translate("ui::HistoryMessages", "プレイ履歴ファイルが使えないため、消去できません。"));
    case HistoryNews::ClearFailed:
        return Warning(QCoreApplication::translate("ui::HistoryMessages", "プレイ履歴を消去できませんでした。\r\n")
                       + detail);
    }
    return {};
}

void TellHistory(HistoryNews news, const QString& detail)
{
    ShowMessage(HistoryMessage(news, detail));
}

QString AskExportPath(QWidget* parent)
{
    const QString suggested = QDir::home().filePath(
        QStringLiteral("zelmor-history-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate)));
    return SaveFileName(parent, QCoreApplication::translate("ui::HistoryMessages", "プレイ履歴を CSV に書き出す"),
                        suggested, QCoreApplication::translate("ui::HistoryMessages", "CSV ファイル (*.csv)"));
}

bool ConfirmClearing()
{
    const Message question{Title(),
                           QCoreApplication::translate("ui::HistoryMessages",
                                                       "プレイ履歴をすべて消去します。\r\n"
                                                       "データカウンターの数字とスランプグラフも 0 に戻ります。\r\n"
                                                       "よろしいですか？"),
                           QMessageBox::Warning, Buttons::YesNo};
    return ShowMessage(question) == Answer::Yes;
}

} // namespace ui
