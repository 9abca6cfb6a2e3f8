// SPDX-License-Identifier: MIT
#include "ui/DialogPrompter.h"

#include "ui/MessageBox.h"
#include "ui/TargetDialog.h"
#include "ui/WitsFailureDialog.h"
#include "ui/WitsWelcomeDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>

namespace ui {

int DialogPrompter::msgBox(const QString& prompt, int style, const QString& title)
{
    const auto box = MakeMessageBox(prompt, style, title);
    return RunMessageBox(*box, style);
}

QString DialogPrompter::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setLabelText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

int DialogPrompter::chooseTarget()
{
    TargetDialog dialog(owner_);
    return dialog.choose();
}

seams::WitsChoice DialogPrompter::witsWelcome()
{
    WitsWelcomeDialog dialog(owner_);
    return dialog.choose();
}

void DialogPrompter::witsFailure(double failures)
{
    WitsFailureDialog dialog(failures, owner_);
    dialog.exec();
}

void DialogPrompter::showModal(QDialog& dialog)
{
    dialog.exec();
}

// Over whichever of the game's windows asked, the data counter's included.
QString DialogPrompter::saveFileName(const QString& title, const QString& suggestedPath, const QString& filter)
{
    QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : owner_.data();
    return QFileDialog::getSaveFileName(parent, title, suggestedPath, filter);
}

} // namespace ui
