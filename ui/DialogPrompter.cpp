// SPDX-License-Identifier: MIT
#include "ui/DialogPrompter.h"

#include "platform/Runtime.h"
#include "ui/Dialogs.h"
#include "ui/NoticeTexts.h"
#include "ui/TargetDialog.h"
#include "ui/WitsFailureDialog.h"
#include "ui/WitsWelcomeDialog.h"

#include <QCoreApplication>
#include <QInputDialog>

namespace ui {

namespace {

// The owner's pointer shows the hourglass while it lives, then what it
// showed before.
class HourglassPointer {
public:
    explicit HourglassPointer(QWidget* owner)
        : owner_(owner)
    {
        if (!owner_)
            return;
        hadCursor_ = owner_->testAttribute(Qt::WA_SetCursor);
        before_ = owner_->cursor();
        owner_->setCursor(Qt::WaitCursor);
    }
    ~HourglassPointer()
    {
        if (!owner_)
            return;
        if (hadCursor_)
            owner_->setCursor(before_);
        else
            owner_->unsetCursor();
    }
    HourglassPointer(const HourglassPointer&) = delete;
    HourglassPointer& operator=(const HourglassPointer&) = delete;

private:
    QPointer<QWidget> owner_;
    bool hadCursor_ = false;
    QCursor before_;
};

} // namespace

void DialogPrompter::tell(const game::Notice& notice)
{
    if (notice.kind == game::Notice::WitsFailure) {
        // The count as the files hold it, which may lie beyond any whole number.
        const QString count = notice.text.isEmpty() ? rt::DecimalText(double(notice.number)) : notice.text;
        WitsFailureDialog dialog(double(notice.number), count, owner_);
        ExecDialog(dialog);
        return;
    }
    if (const auto message = NoticeMessage(notice))
        ShowMessage(*message);
}

int DialogPrompter::askTarget()
{
    const HourglassPointer waiting(owner_);
    TargetDialog dialog(owner_);
    return dialog.choose();
}

// The classic input box: OK gives the text as entered, Cancel an empty text.
QString DialogPrompter::askDenominator(const QString& current)
{
    const Question question = DenominatorQuestion();
    QInputDialog dialog;
    dialog.setWindowTitle(question.title);
    dialog.setLabelText(QString(question.prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    dialog.setTextValue(current);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QCoreApplication::translate("ui::DialogPrompter", "キャンセル"));
    return ExecDialog(dialog) == QDialog::Accepted ? dialog.textValue() : QString();
}

game::WitsChoice DialogPrompter::askWits()
{
    WitsWelcomeDialog dialog(owner_);
    return dialog.choose();
}

} // namespace ui
