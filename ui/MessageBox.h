// SPDX-License-Identifier: MIT
// The game's message box: a title, a text, an icon and OK or Yes/No buttons,
// built on QMessageBox with the captions and icons the game has always shown.
#pragma once

#include <QMessageBox>
#include <QPixmap>
#include <QString>

#include <memory>

namespace ui {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// One message box as the player reads it.
struct Message {
    QString title;
    QString text; // lines may be joined with CR LF
    QMessageBox::Icon icon = QMessageBox::Information;
    Buttons buttons = Buttons::Ok;
    bool operator==(const Message&) const = default;
};

// A message box ready to exec(). The text is shown as plain text, whatever
// it contains.
std::unique_ptr<QMessageBox> MakeMessageBox(const Message& message);

// Runs the box and returns the button pressed. A Yes/No box closed with
// Escape or its close box answers No.
Answer RunMessageBox(QMessageBox& box, Buttons buttons);

// The game's own message box icons (GameStyle hands them to every box),
// drawn at the given pixel density: a blue "i" for information, an amber "!"
// for the exclamation and a red cross for the critical icon. Null for any
// other icon.
QPixmap MessageIcon(QMessageBox::Icon icon, qreal devicePixelRatio);

} // namespace ui
