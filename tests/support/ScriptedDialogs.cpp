// SPDX-License-Identifier: MIT
#include "tests/support/ScriptedDialogs.h"

#include <QDialog>

namespace testing {

ScriptedDialogs::ScriptedDialogs()
{
    ui::installDialogRunner(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    ui::installDialogRunner(nullptr);
}

int ScriptedDialogs::exec(QDialog& dialog)
{
    shown << QStringLiteral("dialog ") + QLatin1String(dialog.metaObject()->className());
    dialog.setResult(QDialog::Rejected);
    if (dialogHandlers.empty()) {
        dialog.reject();
        return dialog.result();
    }
    const auto handler = std::move(dialogHandlers.front());
    dialogHandlers.pop_front();
    handler(dialog);
    return dialog.result();
}

ui::Answer ScriptedDialogs::showMessage(const ui::Message& message)
{
    messages.push_back(message);
    shown << QStringLiteral("message ") + message.text;
    if (message.buttons != ui::Buttons::YesNo)
        return ui::Answer::Ok;
    if (answers.empty())
        return ui::Answer::Yes;
    const ui::Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString& title, const QString&, const QString&)
{
    shown << QStringLiteral("save as: ") + title;
    if (savePaths.empty())
        return {};
    const QString path = savePaths.front();
    savePaths.pop_front();
    return path;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList texts;
    for (const ui::Message& message : messages)
        texts << message.text;
    return texts;
}

void ScriptedDialogs::clear()
{
    messages.clear();
    shown.clear();
}

} // namespace testing
