// SPDX-License-Identifier: MIT
// The game's message box: the classic MsgBox with its title, icon and OK or
// Yes/No buttons, built on QMessageBox.
#pragma once

#include <QMessageBox>
#include <QPixmap>

#include <memory>

class QString;

namespace ui {

// A message box ready to exec(): `style` is the MsgBox style (buttons plus
// icon), `prompt` may join its lines with CR LF. The text is shown as plain
// text, whatever it contains.
std::unique_ptr<QMessageBox> MakeMessageBox(const QString& prompt, int style, const QString& title);

// Runs the box and returns the MsgBox answer (vbOK, vbYes or vbNo).
int RunMessageBox(QMessageBox& box, int style);

// The game's own message box icons (GameStyle hands them to every box),
// drawn at the given pixel density: a blue "i" for information, an amber "!"
// for the exclamation and a red cross for the critical icon. Null for any
// other icon.
QPixmap MessageIcon(QMessageBox::Icon icon, qreal devicePixelRatio);

} // namespace ui
