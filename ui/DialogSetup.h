// SPDX-License-Identifier: MIT
// What the game's dialogs share: their fixed look, their placing and the
// pictures they show from the program's directory.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace ui {

// Fixed size in twips, the game's window font, and the title.
void SetUpFixedDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips);
// The same with only a title bar and a close box, as the battle-of-wits
// dialogs have; centred on the screen, since they show before the main window.
void SetUpWitsDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips);
// Centres a dialog on its owner window, or on the screen without one.
void CentreOnOwner(QWidget& dialog, const QWidget* owner);
// A picture file in the program's directory.
QString ProgramFile(const QString& name);

} // namespace ui
