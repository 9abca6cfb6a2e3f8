// SPDX-License-Identifier: MIT
// The dialog seam scripted (ui/Dialogs.h): every message box is recorded and
// answered from a queue, every modal dialog is handed to the next handler,
// and the save-file dialog answers the next scripted path. Installed for its
// lifetime.
#pragma once

#include "ui/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace testing {

class ScriptedDialogs : public ui::DialogRunner {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // A dialog goes to the next handler, which answers it as the player
    // would (a click, a key, accept()); with none left it is closed as its
    // close box would. The result is the dialog's.
    int exec(QDialog& dialog) override;
    // Yes/No boxes answer from `answers`, Yes when it is empty.
    ui::Answer showMessage(const ui::Message& message) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& suggestedPath,
                         const QString& filter) override;

    std::vector<ui::Message> messages;
    std::deque<ui::Answer> answers;
    std::deque<std::function<void(QDialog&)>> dialogHandlers;
    std::deque<QString> savePaths; // Cancel (an empty path) when empty
    // Everything shown, in order: "message <text>", "dialog <class>", "save as: <title>".
    QStringList shown;

    // The texts of the message boxes, in order.
    QStringList texts() const;
    void clear();
};

} // namespace testing
