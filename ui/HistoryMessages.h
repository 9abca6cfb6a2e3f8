// SPDX-License-Identifier: MIT
// What the play history tells and asks the player: its failures, the CSV
// export and the clearing, each shown through the dialog seam (ui/Dialogs.h).
#pragma once

#include "ui/MessageBox.h"

#include <QString>

class QWidget;

namespace ui {

enum class HistoryNews {
    Unusable,     // history.sqlite broke; `detail` is the reason. The game goes on.
    CannotExport, // the file is not usable: nothing to export
    Exported,     // `detail` is the path written
    ExportFailed, // `detail` is the error
    CannotClear,  // the file is not usable: nothing to clear
    ClearFailed,  // `detail` is the error
};

// The message box of each piece of news.
Message HistoryMessage(HistoryNews news, const QString& detail = QString());
void TellHistory(HistoryNews news, const QString& detail = QString());

// Asks where to write the CSV export, suggesting today's file in the home
// directory: the path chosen, or an empty text for Cancel.
QString AskExportPath(QWidget* parent);
// Asks before the whole history is cleared: true for Yes.
bool ConfirmClearing();

} // namespace ui
