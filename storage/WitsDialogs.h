// What the two battle-of-wits dialogs share: their look and their pictures.
#pragma once

#include <QString>

class QDialog;

namespace storage {

// Fixed size in twips, the game's window font, and the title.
void SetUpWitsDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips);
// A picture file in the program's directory.
QString ProgramFile(const QString& name);

} // namespace storage
